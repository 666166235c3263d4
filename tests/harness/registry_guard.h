#pragma once
// Keeps a test from leaving registry changes behind: remembers a key with all its values and
// subkeys (or that it is missing) and puts it back as it was when the guard goes.
#include <windows.h>

#include <memory>
#include <string>

namespace harness {

class RegistryKeyGuard {
public:
    // `path` is relative to `root`, for example "Software\\Velmoran\\Scrivel".
    RegistryKeyGuard(HKEY root, std::string path);
    ~RegistryKeyGuard();
    RegistryKeyGuard(const RegistryKeyGuard&) = delete;
    RegistryKeyGuard& operator=(const RegistryKeyGuard&) = delete;

    struct Snapshot;

private:
    HKEY root;
    std::string path;
    std::unique_ptr<Snapshot> saved;  // null when the key did not exist
};

}  // namespace harness
