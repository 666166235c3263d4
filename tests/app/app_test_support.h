#pragma once
// What the application-layer tests share: a scratch directory, a catch for message boxes, a look
// into the registry and the built program started as other processes.
#include "harness/input.h"
#include "support/messages.h"
#include "support/reg.h"
#include "support/util.h"
#include "support/util_text.h"

#include <windows.h>

#include <filesystem>
#include <fstream>
#include <string>
#include <vector>

// A fresh directory under the system's temporary folder, removed with everything in it.
class TempDirectory {
public:
    TempDirectory() { std::filesystem::create_directories(path_); }
    ~TempDirectory() {
        std::error_code ignored;
        std::filesystem::remove_all(path_, ignored);
    }

    // With a trailing backslash.
    const std::string& path() const { return path_; }

private:
    static inline int made = 0;
    std::string path_ = (std::filesystem::temp_directory_path() /
                         ("scrivel test " + std::to_string(GetCurrentProcessId()) + "-" + std::to_string(++made)))
                            .string() + "\\";
};

class MessageCapture {
public:
    MessageCapture()
        : old_(set_message_sink([this](void*, const std::string& text, const std::string& title, std::uint32_t) {
              shown.push_back({text, title});
          })) {}
    ~MessageCapture() { set_message_sink(old_); }

    struct Shown {
        std::string text, title;
    };
    std::vector<Shown> shown;

private:
    MessageSink old_;
};

// A text value read through the code under test; `value` when it is missing or not a text.
inline std::string read_text(const std::string& key_path, const std::string& name, std::string value = "<missing>") {
    read_string(open_key(key_path, false).get(), name, value);
    return value;
}

inline bool key_exists(HKEY root, const std::string& path) {
    HKEY key;
    if (RegOpenKeyExA(root, path.c_str(), 0, KEY_READ, &key) != ERROR_SUCCESS) return false;
    RegCloseKey(key);
    return true;
}

// scrivel.exe of the same build tree, and a command line starting it.
inline std::string built_program() {
    return (std::filesystem::path(directory_of(program_path())) / "..\\..\\src\\app\\scrivel.exe").lexically_normal().string();
}
inline std::string program_with(const std::string& arguments) { return "\"" + built_program() + "\" " + arguments; }

// The top-level window of the class titled `title` of any process, once it is there.
inline HWND wait_for_window(const char* window_class, const std::string& title) {
    HWND found = nullptr;
    harness::pump_until([&] { return (found = FindWindowA(window_class, title.c_str())) != nullptr; },
                        std::chrono::seconds(20));
    return found;
}

inline std::string window_text(HWND window) {
    char text[512] = {};
    SendMessageTimeoutA(window, WM_GETTEXT, sizeof text, reinterpret_cast<LPARAM>(text), SMTO_ABORTIFHUNG, 5000,
                        nullptr);
    return text;
}
