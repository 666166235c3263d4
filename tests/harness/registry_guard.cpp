#include "harness/registry_guard.h"

#include <utility>

namespace harness {

namespace {

void remove(HKEY root, const std::string& path) {
    RegDeleteTreeA(root, path.c_str());
    RegDeleteKeyA(root, path.c_str());
}

// Replaces the key `to` by a copy of `from` with all its values and subkeys; false when there is
// no `from`.
bool copy_key(HKEY from_root, const std::string& from, HKEY to_root, const std::string& to) {
    remove(to_root, to);
    HKEY source, target;
    if (RegOpenKeyExA(from_root, from.c_str(), 0, KEY_READ, &source) != ERROR_SUCCESS) return false;
    if (!RegCreateKeyExA(to_root, to.c_str(), 0, nullptr, 0, KEY_ALL_ACCESS, nullptr, &target, nullptr)) {
        RegCopyTreeA(source, nullptr, target);
        RegCloseKey(target);
    }
    RegCloseKey(source);
    return true;
}

}  // namespace

RegistryKeyGuard::RegistryKeyGuard(HKEY root_, std::string path_) : root(root_), path(std::move(path_)) {
    static int made = 0;
    copy = "Software\\Scrivel test copy " + std::to_string(GetCurrentProcessId()) + "-" + std::to_string(++made);
    if (!copy_key(root, path, HKEY_CURRENT_USER, copy)) copy.clear();
}

RegistryKeyGuard::~RegistryKeyGuard() {
    if (copy.empty()) {
        remove(root, path);
    } else {
        copy_key(HKEY_CURRENT_USER, copy, root, path);
        remove(HKEY_CURRENT_USER, copy);
    }
}

PadTypeRegisteredTo::PadTypeRegisteredTo(const std::string& program) {
    const std::string command = "\"" + program + "\" \"%1\"";
    RegSetKeyValueA(HKEY_CURRENT_USER, "Software\\Classes\\nibfile\\shell\\open\\command", nullptr, REG_SZ,
                    command.c_str(), static_cast<DWORD>(command.size() + 1));
}

}  // namespace harness
