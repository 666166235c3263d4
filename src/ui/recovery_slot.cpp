#include "ui/recovery_slot.h"

#include "storage/recovery_file.h"
#include "support/messages.h"
#include "support/util.h"

#include <shlobj.h>

namespace {

// Empty when the user has no local application data folder.
std::string folder() {
    // The user's own, not roaming: the file is for this machine's next start only.
    const std::string path = special_folder_path(CSIDL_LOCAL_APPDATA);
    if (path.empty()) return path;
    for (const char* part : {"\\Scrivel", "\\Scrivel\\Recovery"}) CreateDirectoryA((path + part).c_str(), nullptr);
    return path + "\\Scrivel\\Recovery\\";
}

HANDLE open_lock(const std::string& path) {
    // No sharing: a second opener, in this process or another, is refused.
    return CreateFileA((path + ".lock").c_str(), GENERIC_WRITE, 0, nullptr, OPEN_ALWAYS,
                       FILE_ATTRIBUTE_HIDDEN | FILE_FLAG_DELETE_ON_CLOSE, nullptr);
}

}  // namespace

RecoverySlot::~RecoverySlot() { unlock(); }

std::vector<std::string> RecoverySlot::existingFiles() {
    const std::string where = folder();
    std::vector<std::string> found;
    if (where.empty()) return found;
    WIN32_FIND_DATAA entry;
    HANDLE search = FindFirstFileA((where + "*.nib").c_str(), &entry);
    if (search == INVALID_HANDLE_VALUE) return found;
    do {
        // A three-letter pattern also matches longer extensions through their short names.
        const std::string name = entry.cFileName;
        if (name.size() > 4 && name.compare(name.size() - 4, 4, ".nib") == 0) found.push_back(where + name);
    } while (FindNextFileA(search, &entry));
    FindClose(search);
    return found;
}

bool RecoverySlot::take(const std::string& file) {
    unlock();
    lock = open_lock(file);
    if (lock == INVALID_HANDLE_VALUE) return false;
    path = file;
    return true;
}

void RecoverySlot::write(const std::string& padPath, const Pad& pad, const std::string* pending) {
    if (path.empty()) {
        const std::string where = folder();
        if (where.empty()) raise_failed_call(ERROR_PATH_NOT_FOUND, source_name(__FILE__), __LINE__);
        if (!take(where + uuid_to_text(new_uuid()) + ".nib"))
            raise_failed_call(last_error_code(), source_name(__FILE__), __LINE__);
    }
    write_recovery(path, padPath, pad, pending);
}

std::string RecoverySlot::putAside() {
    const std::string aside = path + ".damaged";
    CHECK_CALL(MoveFileExA(path.c_str(), aside.c_str(), MOVEFILE_REPLACE_EXISTING));
    unlock();
    path.clear();
    return aside;
}

void RecoverySlot::remove() noexcept {
    if (path.empty()) return;
    DeleteFileA(path.c_str());
    unlock();
    path.clear();
}

void RecoverySlot::unlock() noexcept {
    if (lock != INVALID_HANDLE_VALUE) CloseHandle(lock);
    lock = INVALID_HANDLE_VALUE;
}
