// The core's system services on Windows.
#include "support/platform.h"

#include <windows.h>

#include <io.h>

#include <array>

namespace platform {

void message_box(void* owner, const std::string& text, const std::string& title, std::uint32_t style) {
    MessageBoxA(static_cast<HWND>(owner), text.c_str(), title.c_str(), style);
}

char to_lower(char c) {
    // CharLowerA once per byte value, kept in a table: lower-casing is on the find path.
    static const std::array<char, 256> table = [] {
        std::array<char, 256> t{};
        for (int i = 0; i < 256; ++i) {
            char one[2] = {static_cast<char>(i), 0};
            if (i != 0) CharLowerBuffA(one, 1);
            t[i] = one[0];
        }
        return t;
    }();
    return table[static_cast<unsigned char>(c)];
}

bool file_writable(const std::string& path) {
    DWORD attributes = GetFileAttributesA(path.c_str());
    return attributes != INVALID_FILE_ATTRIBUTES && !(attributes & FILE_ATTRIBUTE_READONLY);
}

bool flush_to_disk(std::FILE* file) {
    if (std::fflush(file) != 0) {
        SetLastError(ERROR_WRITE_FAULT);
        return false;
    }
    return FlushFileBuffers(reinterpret_cast<HANDLE>(_get_osfhandle(_fileno(file)))) != 0;
}

bool replace_file(const std::string& from, const std::string& to) {
    return MoveFileExA(from.c_str(), to.c_str(), MOVEFILE_REPLACE_EXISTING | MOVEFILE_WRITE_THROUGH) != 0;
}

unsigned long last_error_code() { return GetLastError(); }

std::string last_error_text() {
    DWORD code = GetLastError();
    char* buffer = nullptr;
    FormatMessageA(FORMAT_MESSAGE_ALLOCATE_BUFFER | FORMAT_MESSAGE_FROM_SYSTEM, nullptr, code,
                   MAKELANGID(LANG_NEUTRAL, SUBLANG_DEFAULT), reinterpret_cast<char*>(&buffer), 0, nullptr);
    std::string text = buffer ? buffer : "";
    LocalFree(buffer);
    return text;
}

}  // namespace platform
