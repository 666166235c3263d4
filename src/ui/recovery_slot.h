#pragma once
// A pad's recovery file and the lock that keeps it this process's while it runs: the lock file
// beside it is held open without sharing and goes when the process ends, however it ends.
#include "model/pad.h"

#include <windows.h>

#include <string>
#include <vector>

class RecoverySlot {
public:
    // A slot for a new file of its own, made at the first write.
    RecoverySlot() = default;
    // Releases the lock; the file stays for a later start unless removed.
    ~RecoverySlot();
    RecoverySlot(const RecoverySlot&) = delete;
    RecoverySlot& operator=(const RecoverySlot&) = delete;

    // The recovery files that a start may find in the user's local application data; none when the
    // user has no such folder.
    static std::vector<std::string> existingFiles();

    // Takes an existing recovery file; false when another running copy holds it.
    bool take(const std::string& path);
    // Replaces the file with the pad's changes (see write_recovery).
    void write(const std::string& padPath, const Pad& pad, const std::string* pending);
    // Renames the file to `path` + ".damaged", keeping it aside, and returns the new name.
    std::string putAside();
    // Deletes the file and releases the lock; nothing when there is no file.
    void remove() noexcept;

private:
    void unlock() noexcept;

    std::string path;
    HANDLE lock = INVALID_HANDLE_VALUE;
};
