#pragma once
// The built program started as other processes, and a look into their windows.
#include "harness/input.h"
#include "support/util.h"
#include "support/util_text.h"

#include <windows.h>

#include <filesystem>
#include <string>

// scrivel.exe of the same build tree.
inline std::string built_program() {
    const std::filesystem::path tests = directory_of(program_path());
    return (tests / "..\\..\\src\\app\\scrivel.exe").lexically_normal().string();
}
inline std::string program_with(const std::string& arguments) { return "\"" + built_program() + "\" " + arguments; }

// The top-level window of the class titled `title` of any process, once it is there.
inline HWND wait_for_window(const char* window_class, const std::string& title) {
    using namespace std::chrono_literals;
    HWND found = nullptr;
    harness::pump_until([&] { return (found = FindWindowA(window_class, title.c_str())) != nullptr; }, 20s);
    return found;
}

// The text of a window of another process.
inline std::string window_text(HWND window) {
    char text[512] = {};
    SendMessageTimeoutA(window, WM_GETTEXT, sizeof text, reinterpret_cast<LPARAM>(text), SMTO_ABORTIFHUNG, 5000,
                        nullptr);
    return text;
}
