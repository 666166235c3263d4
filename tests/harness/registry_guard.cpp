#include "harness/registry_guard.h"

#include <utility>
#include <vector>

namespace harness {

struct RegistryKeyGuard::Snapshot {
    struct Value {
        std::string name;
        DWORD type;
        std::vector<BYTE> data;
    };
    std::vector<Value> values;
    std::vector<std::pair<std::string, std::unique_ptr<Snapshot>>> subkeys;
};

namespace {

using Snapshot = RegistryKeyGuard::Snapshot;

std::unique_ptr<Snapshot> take(HKEY parent, const std::string& path) {
    HKEY key;
    if (RegOpenKeyExA(parent, path.c_str(), 0, KEY_READ, &key) != ERROR_SUCCESS) return nullptr;
    auto snapshot = std::make_unique<Snapshot>();
    DWORD value_count = 0, longest_name = 0, longest_data = 0, key_count = 0, longest_key = 0;
    RegQueryInfoKeyA(key, nullptr, nullptr, nullptr, &key_count, &longest_key, nullptr, &value_count,
                     &longest_name, &longest_data, nullptr, nullptr);
    for (DWORD i = 0; i < value_count; ++i) {
        std::string name(longest_name + 1, '\0');
        std::vector<BYTE> data(longest_data + 1);
        DWORD name_size = static_cast<DWORD>(name.size()), data_size = static_cast<DWORD>(data.size()), type = 0;
        if (RegEnumValueA(key, i, name.data(), &name_size, nullptr, &type, data.data(), &data_size) != ERROR_SUCCESS)
            continue;
        name.resize(name_size);
        data.resize(data_size);
        snapshot->values.push_back({std::move(name), type, std::move(data)});
    }
    for (DWORD i = 0; i < key_count; ++i) {
        std::string name(longest_key + 1, '\0');
        DWORD name_size = static_cast<DWORD>(name.size());
        if (RegEnumKeyExA(key, i, name.data(), &name_size, nullptr, nullptr, nullptr, nullptr) != ERROR_SUCCESS)
            continue;
        name.resize(name_size);
        if (auto sub = take(key, name)) snapshot->subkeys.emplace_back(name, std::move(sub));
    }
    RegCloseKey(key);
    return snapshot;
}

void put_back(HKEY parent, const std::string& path, const Snapshot& snapshot) {
    HKEY key;
    if (RegCreateKeyExA(parent, path.c_str(), 0, nullptr, 0, KEY_WRITE, nullptr, &key, nullptr) != ERROR_SUCCESS)
        return;
    for (const auto& value : snapshot.values)
        RegSetValueExA(key, value.name.c_str(), 0, value.type, value.data.data(), static_cast<DWORD>(value.data.size()));
    for (const auto& [name, sub] : snapshot.subkeys) put_back(key, name, *sub);
    RegCloseKey(key);
}

}  // namespace

RegistryKeyGuard::RegistryKeyGuard(HKEY root_, std::string path_)
    : root(root_), path(std::move(path_)), saved(take(root, path)) {}

RegistryKeyGuard::~RegistryKeyGuard() {
    RegDeleteTreeA(root, path.c_str());
    RegDeleteKeyA(root, path.c_str());
    if (saved) put_back(root, path, *saved);
}

}  // namespace harness
