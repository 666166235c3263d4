#pragma once
// Keeps a test from leaving registry changes behind: copies a key with all its values and subkeys
// (or notes that it is missing) and puts it back as it was when the guard goes.
#include <windows.h>

#include <string>

namespace harness {

class RegistryKeyGuard {
public:
    // `path` is relative to `root`, for example "Software\\Velmoran\\Scrivel".
    RegistryKeyGuard(HKEY root, std::string path);
    ~RegistryKeyGuard();
    RegistryKeyGuard(const RegistryKeyGuard&) = delete;
    RegistryKeyGuard& operator=(const RegistryKeyGuard&) = delete;

private:
    HKEY root;
    std::string path;
    std::string copy;  // under HKEY_CURRENT_USER; empty when the key did not exist
};

// Makes pad files look registered to `program` (for this user) while it lives, so that a start of
// that program asks no Setup question; what was registered before comes back afterwards.
class PadTypeRegisteredTo {
public:
    explicit PadTypeRegisteredTo(const std::string& program);

private:
    RegistryKeyGuard guard{HKEY_CURRENT_USER, "Software\\Classes\\nibfile"};
};

}  // namespace harness
