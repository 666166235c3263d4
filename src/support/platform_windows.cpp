// The core's system services on Windows.
#include "support/platform.h"

#include <windows.h>
#include <rpc.h>

#include <io.h>

#include <algorithm>
#include <array>
#include <cerrno>
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

namespace {

std::wstring wide(const std::string& text) {
    const int length = MultiByteToWideChar(CP_ACP, 0, text.data(), static_cast<int>(text.size()), nullptr, 0);
    std::wstring result(static_cast<std::size_t>(length), L'\0');
    MultiByteToWideChar(CP_ACP, 0, text.data(), static_cast<int>(text.size()), result.data(), length);
    return result;
}

std::string narrow(const std::wstring& text) {
    const int length = WideCharToMultiByte(CP_ACP, 0, text.data(), static_cast<int>(text.size()), nullptr, 0, nullptr, nullptr);
    std::string result(static_cast<std::size_t>(length), '\0');
    WideCharToMultiByte(CP_ACP, 0, text.data(), static_cast<int>(text.size()), result.data(), length, nullptr, nullptr);
    return result;
}

// The path for the file functions. The ANSI ones stop at 260 characters; the wide ones take a
// longer path in its long form, a full path after "\\?\".
std::wstring system_path(const std::string& path) {
    std::wstring name = wide(path);
    if (name.rfind(L"\\\\?\\", 0) == 0) return name;
    // Not every file function takes '/' for a separator: ReplaceFileW refuses it.
    std::replace(name.begin(), name.end(), L'/', L'\\');
    if (name.size() < MAX_PATH) return name;
    std::wstring full(32768, L'\0');
    const DWORD length = GetFullPathNameW(name.c_str(), static_cast<DWORD>(full.size()), full.data(), nullptr);
    if (length == 0 || length >= full.size()) return name;
    full.resize(length);
    if (full.rfind(L"\\\\", 0) == 0) return L"\\\\?\\UNC\\" + full.substr(2);
    return L"\\\\?\\" + full;
}

DWORD attributes_of(const std::string& path) { return GetFileAttributesW(system_path(path).c_str()); }

HANDLE open_for_query(const std::string& path) {
    return CreateFileW(system_path(path).c_str(), 0, FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE, nullptr,
                       OPEN_EXISTING, FILE_FLAG_BACKUP_SEMANTICS, nullptr);
}

}  // namespace

std::FILE* open_file(const std::string& path, const char* how) {
    return _wfopen(system_path(path).c_str(), wide(how).c_str());
}

bool remove_file(const std::string& path) { return DeleteFileW(system_path(path).c_str()) != 0; }

bool file_writable(const std::string& path) {
    const DWORD attributes = attributes_of(path);
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
    const std::wstring source = system_path(from), target = system_path(to);
    // An existing file is replaced rather than moved over, so that it keeps its attributes,
    // security and creation time.
    const DWORD existing = GetFileAttributesW(target.c_str());
    if (existing != INVALID_FILE_ATTRIBUTES && !(existing & FILE_ATTRIBUTE_DIRECTORY))
        return ReplaceFileW(target.c_str(), source.c_str(), nullptr, REPLACEFILE_IGNORE_MERGE_ERRORS, nullptr, nullptr) != 0;
    return MoveFileExW(source.c_str(), target.c_str(), MOVEFILE_REPLACE_EXISTING | MOVEFILE_WRITE_THROUGH) != 0;
}

std::string real_path(const std::string& path) {
    const DWORD attributes = attributes_of(path);
    if (attributes == INVALID_FILE_ATTRIBUTES || !(attributes & FILE_ATTRIBUTE_REPARSE_POINT)) return path;
    HANDLE file = open_for_query(path);
    if (file == INVALID_HANDLE_VALUE) return path;
    std::wstring buffer(32768, L'\0');
    const DWORD length = GetFinalPathNameByHandleW(file, buffer.data(), static_cast<DWORD>(buffer.size()),
                                                   FILE_NAME_NORMALIZED | VOLUME_NAME_DOS);
    CloseHandle(file);
    if (length == 0 || length >= buffer.size()) return path;
    buffer.resize(length);
    // The system answers in the long form; the short one serves where it fits.
    if (buffer.size() < MAX_PATH + 4 && buffer.rfind(L"\\\\?\\UNC\\", 0) == 0) buffer = L"\\\\" + buffer.substr(8);
    else if (buffer.size() < MAX_PATH + 4 && buffer.rfind(L"\\\\?\\", 0) == 0) buffer = buffer.substr(4);
    return narrow(buffer);
}

unsigned long link_count(const std::string& path) {
    HANDLE file = open_for_query(path);
    if (file == INVALID_HANDLE_VALUE) return 1;
    BY_HANDLE_FILE_INFORMATION information{};
    const BOOL known = GetFileInformationByHandle(file, &information);
    CloseHandle(file);
    return known ? information.nNumberOfLinks : 1;
}

void keep_owner_and_mode(const std::string&, const std::string&) {}

bool truncate_file(std::FILE* file, std::uint64_t size) {
    return _chsize_s(_fileno(file), static_cast<long long>(size)) == 0;
}

std::string temporary_folder() {
    char buffer[MAX_PATH + 1];
    const DWORD length = GetTempPathA(sizeof buffer, buffer);
    std::string folder = length > 0 && length < sizeof buffer ? std::string(buffer, length) : std::string(".");
    while (folder.size() > 3 && (folder.back() == '\\' || folder.back() == '/')) folder.pop_back();
    return folder;
}

std::vector<std::string> folder_entries(const std::string& folder) {
    std::vector<std::string> names;
    WIN32_FIND_DATAW entry;
    HANDLE search = FindFirstFileW(system_path(folder + "\\*").c_str(), &entry);
    if (search == INVALID_HANDLE_VALUE) return names;
    do {
        const std::string name = narrow(entry.cFileName);
        if (name != "." && name != "..") names.push_back(name);
    } while (FindNextFileW(search, &entry));
    FindClose(search);
    return names;
}

char folder_separator() { return '\\'; }

bool process_running(unsigned long id) {
    HANDLE process = OpenProcess(PROCESS_QUERY_LIMITED_INFORMATION, FALSE, id);
    if (!process) return GetLastError() == ERROR_ACCESS_DENIED;
    DWORD code = 0;
    const BOOL known = GetExitCodeProcess(process, &code);
    CloseHandle(process);
    return !known || code == STILL_ACTIVE;
}

void set_file_error(FileError error) {
    switch (error) {
    case FileError::disk_full: errno = ENOSPC; SetLastError(ERROR_DISK_FULL); break;
    case FileError::access_denied: errno = EACCES; SetLastError(ERROR_ACCESS_DENIED); break;
    case FileError::device: errno = EIO; SetLastError(ERROR_IO_DEVICE); break;
    }
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
