#pragma once
// Keeps a registry key as it was and puts it back: the tests run in a shared Wine prefix.
#include <windows.h>

#include <string>
#include <vector>

class RegistrySnapshot {
public:
    // `root` and `path` name the key (the path without a trailing backslash).
    RegistrySnapshot(HKEY root, std::string path);
    ~RegistrySnapshot();
    RegistrySnapshot(const RegistrySnapshot&) = delete;
    RegistrySnapshot& operator=(const RegistrySnapshot&) = delete;

private:
    struct Value {
        std::string name;
        DWORD type;
        std::vector<BYTE> data;
    };
    HKEY root_;
    std::string path_;
    bool existed_ = false;
    std::vector<Value> values_;
};

// Whether a key exists, and the names of its values.
bool key_exists(HKEY root, const std::string& path);
std::vector<std::string> value_names(HKEY root, const std::string& path);
