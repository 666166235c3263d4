// The core's system services on Windows.
#include "support/platform.h"

#include <windows.h>
#include <rpc.h>

#include <io.h>

#include <array>
#include <cstring>

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

bool create_uuid(Uuid& id) {
    UUID system_id{};
    RPC_STATUS status = UuidCreate(&system_id);
    std::memcpy(&id, &system_id, sizeof id);
    return status != RPC_S_UUID_NO_ADDRESS;
}

bool uuid_to_text(const Uuid& id, std::string& text) {
    UUID system_id;
    std::memcpy(&system_id, &id, sizeof system_id);
    RPC_CSTR buffer = nullptr;
    if (UuidToStringA(&system_id, &buffer) != RPC_S_OK) return false;
    text = reinterpret_cast<const char*>(buffer);
    RpcStringFreeA(&buffer);
    return true;
}

bool uuid_from_text(const std::string& text, Uuid& id) {
    // A zero byte inside the text would end it early for the system.
    if (text.find('\0') != std::string::npos) return false;
    std::string copy = text;
    UUID system_id;
    if (UuidFromStringA(reinterpret_cast<RPC_CSTR>(copy.data()), &system_id) != RPC_S_OK) return false;
    std::memcpy(&id, &system_id, sizeof id);
    return true;
}

int uuid_compare(const Uuid& a, const Uuid& b) {
    UUID first, second;
    std::memcpy(&first, &a, sizeof first);
    std::memcpy(&second, &b, sizeof second);
    RPC_STATUS status;
    return UuidCompare(&first, &second, &status);
}

namespace {

// A file time as 32-bit calendar seconds, the form in which the listing is mixed in.
std::uint32_t calendar_seconds(const FILETIME& time) {
    ULARGE_INTEGER ticks;
    ticks.LowPart = time.dwLowDateTime;
    ticks.HighPart = time.dwHighDateTime;
    return static_cast<std::uint32_t>((ticks.QuadPart - 116444736000000000ULL) / 10000000ULL);
}

}  // namespace

void mix_root_listing(Uuid& id) {
    WIN32_FIND_DATAA entry;
    HANDLE search = FindFirstFileA("C:\\*.*", &entry);
    if (search == INVALID_HANDLE_VALUE) return;
    std::uint8_t bytes[sizeof(Uuid)];
    std::memcpy(bytes, &id, sizeof bytes);
    std::uint32_t position = 0;
    auto mix = [&](std::uint32_t value) { bytes[++position % sizeof bytes] ^= static_cast<std::uint8_t>(value); };
    do {
        mix(calendar_seconds(entry.ftCreationTime));
        mix(calendar_seconds(entry.ftLastAccessTime));
        mix(calendar_seconds(entry.ftLastWriteTime));
        mix(entry.nFileSizeLow);
        for (const char* c = entry.cFileName; *c; ++c) mix(static_cast<unsigned char>(*c));
        position += calendar_seconds(entry.ftLastWriteTime);
    } while (FindNextFileA(search, &entry));
    FindClose(search);
    std::memcpy(&id, bytes, sizeof bytes);
}

unsigned long process_id() { return GetCurrentProcessId(); }

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
