#include "support/reg.h"

#include "support/messages.h"
#include "support/util.h"

#include <cstring>

namespace {

HKEY root_named(const std::string& name) {
    if (name == "HKEY_CLASSES_ROOT") return HKEY_CLASSES_ROOT;
    if (name == "HKEY_CURRENT_USER") return HKEY_CURRENT_USER;
    if (name == "HKEY_LOCAL_MACHINE") return HKEY_LOCAL_MACHINE;
    if (name == "HKEY_USERS") return HKEY_USERS;
    return nullptr;
}

bool is_root(HKEY key) {
    return key == HKEY_CLASSES_ROOT || key == HKEY_CURRENT_USER || key == HKEY_LOCAL_MACHINE || key == HKEY_USERS;
}

std::vector<std::string> components_of(const std::string& path) {
    std::vector<std::string> components;
    std::size_t start = 0;
    while (start < path.size()) {
        std::size_t end = path.find('\\', start + 1);
        if (end == std::string::npos) end = path.size();
        components.push_back(path.substr(start, end - start));
        start = end + 1;
    }
    return components;
}

// False when the key cannot be made or the value is refused.
bool write_named(const std::string& path, const char* name, const std::string& value) {
    RegistryKey key = open_key(path, true);
    return key && RegSetValueExA(key.get(), name, 0, REG_SZ, reinterpret_cast<const BYTE*>(value.c_str()),
                                 static_cast<DWORD>(value.size() + 1)) == ERROR_SUCCESS;
}

bool write_default(const std::string& path, const std::string& value) { return write_named(path, "", value); }

// Quoted, so that a path with blanks stays one word of a command on a volume without short names.
std::string quoted(const std::string& program) { return "\"" + program + "\""; }

const RegistrationPlace* const both_places[] = {&machine_registration, &user_registration};

// Deletes a key with everything below it, whatever the shell or other programs added there.
// Returns the path when the key is still there afterwards.
std::optional<std::string> delete_tree(const std::string& path) {
    const std::size_t slash = path.rfind('\\', path.size() - 2);
    if (RegistryKey parent = open_key(path.substr(0, slash + 1), false)) {
        const std::string name = path.substr(slash + 1, path.size() - slash - 2);
        HKEY key = nullptr;
        // The rights RegDeleteTreeA asks of the key it empties.
        if (RegOpenKeyExA(parent.get(), name.c_str(), 0, DELETE | KEY_ENUMERATE_SUB_KEYS | KEY_QUERY_VALUE | KEY_SET_VALUE,
                          &key) == ERROR_SUCCESS) {
            RegDeleteTreeA(key, nullptr);
            RegCloseKey(key);
        }
        RegDeleteKeyA(parent.get(), name.c_str());
    }
    if (open_key(path, false)) return path;
    return std::nullopt;
}

// The program file that an open command names: the quoted first word, or in an old unquoted
// command everything before the quoted argument, since the path itself may hold blanks.
std::string program_of_command(const std::string& command) {
    const std::size_t start = command.find_first_not_of(" \t");
    if (start == std::string::npos) return {};
    if (command[start] == '"') {
        std::vector<std::string> arguments;
        split_command_line(command, arguments);
        return arguments.empty() ? std::string() : arguments.front();
    }
    const std::size_t end = command.find_last_not_of(" \t", command.find('"', start) - 1);
    return command.substr(start, end - start + 1);
}

}  // namespace

RegistryKey& RegistryKey::operator=(RegistryKey&& other) noexcept {
    if (this != &other) {
        close();
        key_ = other.release();
    }
    return *this;
}

HKEY RegistryKey::release() noexcept {
    HKEY key = key_;
    key_ = nullptr;
    return key;
}

void RegistryKey::close() noexcept {
    if (key_ && !is_root(key_)) RegCloseKey(key_);
    key_ = nullptr;
}

RegistryKey open_key(const std::string& path, bool create) {
    RegistryKey current;
    for (const std::string& component : components_of(path)) {
        if (HKEY root = root_named(component)) {
            current = RegistryKey(root);
            continue;
        }
        if (!current) return {};
        HKEY next = nullptr;
        LONG status = create ? RegCreateKeyExA(current.get(), component.c_str(), 0, const_cast<char*>(""), 0,
                                               KEY_WRITE, nullptr, &next, nullptr)
                             : RegOpenKeyExA(current.get(), component.c_str(), 0, KEY_READ, &next);
        current = RegistryKey(status == ERROR_SUCCESS ? next : nullptr);
    }
    return current;
}

void delete_key(const std::string& path) {
    if (path.size() < 2) return;
    std::size_t slash = path.rfind('\\', path.size() - 2);
    if (slash == std::string::npos) return;
    std::string parent = path.substr(0, slash + 1);
    std::string name = path.substr(slash + 1);
    if (!name.empty() && name.back() == '\\') name.pop_back();
    if (RegistryKey key = open_key(parent, true)) RegDeleteKeyA(key.get(), name.c_str());
}

std::optional<std::vector<char>> query_value(HKEY key, const std::string& name, DWORD type) {
    DWORD size = 0;
    if (RegQueryValueExA(key, name.c_str(), nullptr, nullptr, nullptr, &size) != ERROR_SUCCESS) return std::nullopt;
    std::vector<char> data(size);
    DWORD stored_type = 0;
    if (RegQueryValueExA(key, name.c_str(), nullptr, &stored_type, reinterpret_cast<BYTE*>(data.data()), &size) !=
            ERROR_SUCCESS ||
        stored_type != type)
        return std::nullopt;
    data.resize(size);
    return data;
}

void read_string(HKEY key, const std::string& name, std::string& value) {
    if (auto data = query_value(key, name, REG_SZ)) {
        // The stored terminating zero may be missing: never read beyond the data.
        value.assign(data->data(), strnlen(data->data(), data->size()));
    }
}

void read_dword(HKEY key, const std::string& name, std::int32_t& value) {
    auto data = query_value(key, name, REG_DWORD);
    if (data && data->size() == sizeof value) std::memcpy(&value, data->data(), sizeof value);
}

void set_value(HKEY key, const std::string& name, DWORD type, const void* data, DWORD size) {
    // The registry functions return their error instead of setting the thread's last error.
    const LONG status = RegSetValueExA(key, name.c_str(), 0, type, static_cast<const BYTE*>(data), size);
    SetLastError(static_cast<DWORD>(status));
    CHECK_CALL(status == ERROR_SUCCESS);
}

void write_string(HKEY key, const std::string& name, const std::string& value) {
    set_value(key, name, REG_SZ, value.c_str(), static_cast<DWORD>(value.size() + 1));
}

void write_dword(HKEY key, const std::string& name, std::int32_t value) {
    set_value(key, name, REG_DWORD, &value, sizeof value);
}

const RegistrationPlace machine_registration{
    "HKEY_LOCAL_MACHINE\\Software\\Classes\\",
    "HKEY_LOCAL_MACHINE\\SOFTWARE\\Microsoft\\Windows\\CurrentVersion\\App Paths\\",
    "HKEY_LOCAL_MACHINE\\SOFTWARE\\Microsoft\\Windows\\CurrentVersion\\Uninstall\\",
};
const RegistrationPlace user_registration{
    "HKEY_CURRENT_USER\\Software\\Classes\\",
    "HKEY_CURRENT_USER\\Software\\Microsoft\\Windows\\CurrentVersion\\App Paths\\",
    "HKEY_CURRENT_USER\\Software\\Microsoft\\Windows\\CurrentVersion\\Uninstall\\",
};

bool register_association(const std::string& extension, const std::string& class_name,
                          const std::string& description, int icon, const RegistrationPlace& place) {
    const std::string program = program_path();
    const std::string class_key = place.classes + class_name + "\\";
    // Every key is tried, so that a refusal leaves as much in place as the registry allows.
    bool written = write_default(place.classes + "." + extension + "\\", class_name);
    written &= write_default(class_key, description);
    written &= write_default(class_key + "DefaultIcon\\", program + ",-" + std::to_string(icon));
    written &= write_default(class_key + "shell\\open\\command\\", quoted(program) + " \"%1\"");
    return written;
}

std::vector<std::string> unregister_association(const std::string& extension, const std::string& class_name) {
    std::vector<std::string> left;
    for (const RegistrationPlace* place : both_places)
        for (const std::string& key : {place->classes + "." + extension + "\\", place->classes + class_name + "\\"})
            if (auto kept = delete_tree(key)) left.push_back(*kept);
    return left;
}

bool register_application(const std::string& name, const std::string& display, const RegistrationPlace& place) {
    const std::string program = program_path();
    bool written = write_default(place.app_paths + name + ".exe\\", program);
    written &= write_named(place.uninstall + name + "\\", "DisplayName", display);
    written &= write_named(place.uninstall + name + "\\", "UninstallString", quoted(program) + " /u");
    return written;
}

std::vector<std::string> unregister_application(const std::string& name) {
    std::vector<std::string> left;
    for (const RegistrationPlace* place : both_places)
        for (const std::string& key : {place->app_paths + name + ".exe\\", place->uninstall + name + "\\"})
            if (auto kept = delete_tree(key)) left.push_back(*kept);
    return left;
}

void registered_program(const std::string& class_name, std::string& program) {
    program.clear();
    // The user's own classes first, as the system's merged view of HKEY_CLASSES_ROOT has them.
    RegistryKey key;
    for (const RegistrationPlace* place : {&user_registration, &machine_registration})
        if ((key = open_key(place->classes + class_name + "\\shell\\open\\command\\", false))) break;
    if (!key) return;
    std::string command;
    read_string(key.get(), "", command);
    const std::string named = program_of_command(command);
    // A file that is gone keeps its name: the program has moved, it was not never registered.
    const std::string existing = short_path(named);
    program = existing.empty() ? named : existing;
}
