#pragma once
// Registry access by path text: "HKEY_CURRENT_USER\Software\Velmoran\Scrivel\". Paths name a root
// ("HKEY_CLASSES_ROOT", "HKEY_CURRENT_USER", "HKEY_LOCAL_MACHINE" or "HKEY_USERS") and then the
// sub-keys, each followed by a backslash.
#include <windows.h>

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

// An open registry key, closed when it goes out of scope (a predefined root key is never closed).
// An empty one means the key was not opened.
class RegistryKey {
public:
    RegistryKey() = default;
    explicit RegistryKey(HKEY key) : key_(key) {}
    RegistryKey(RegistryKey&& other) noexcept : key_(other.release()) {}
    RegistryKey& operator=(RegistryKey&& other) noexcept;
    RegistryKey(const RegistryKey&) = delete;
    RegistryKey& operator=(const RegistryKey&) = delete;
    ~RegistryKey() { close(); }

    HKEY get() const { return key_; }
    explicit operator bool() const { return key_ != nullptr; }
    HKEY release() noexcept;
    void close() noexcept;

private:
    HKEY key_ = nullptr;
};

// Opens the key of a path. With `create`, missing keys are made and the key is opened for
// writing; without it, every key must exist and it is opened for reading. Empty on failure.
RegistryKey open_key(const std::string& path, bool create);

// Deletes the last key of a path (with its trailing backslash) from its parent. Failures are
// ignored, among them a key that still has sub-keys; a missing parent is created.
void delete_key(const std::string& path);

// The data of a value when it exists with the expected type (REG_SZ, REG_DWORD ...).
std::optional<std::vector<char>> query_value(HKEY key, const std::string& name, DWORD type);

// Reads leave `value` unchanged when the value is missing or of another type.
void read_string(HKEY key, const std::string& name, std::string& value);
void read_dword(HKEY key, const std::string& name, std::int32_t& value);

// Writes raise the "Unexpected error" when the system refuses them.
void set_value(HKEY key, const std::string& name, DWORD type, const void* data, DWORD size);
void write_string(HKEY key, const std::string& name, const std::string& value);
void write_dword(HKEY key, const std::string& name, std::int32_t value);

// Where a registration is written: the file type classes, the application path entries and the
// uninstall entries. The machine's serve every user but need an administrator; the user's own
// serve that user alone. Classes are named in the machine's or the user's own key, never through
// the merged HKEY_CLASSES_ROOT, which writes wherever the class happens to exist already.
struct RegistrationPlace {
    std::string classes;
    std::string app_paths;
    std::string uninstall;
};
extern const RegistrationPlace machine_registration;
extern const RegistrationPlace user_registration;

// The shell's file type: ".ext" names the class, which has a description, an icon from this
// program's icon resource and an open command that runs this program (quoted) on the file.
// Returns false when the registry refused any of it.
bool register_association(const std::string& extension, const std::string& class_name,
                          const std::string& description, int icon,
                          const RegistrationPlace& place = machine_registration);
// Removes the file type's keys, with all that lies below them, from the machine's and the user's
// classes. Returns the keys that are still there (the machine's, for a user who may not change them).
std::vector<std::string> unregister_association(const std::string& extension, const std::string& class_name);

// The application path entry (the program's path) and the uninstall entry (which runs this
// program, quoted, with "/u"). Returns false when the registry refused any of it.
bool register_application(const std::string& name, const std::string& display,
                          const RegistrationPlace& place = machine_registration);
// Removes both entries from the machine's and the user's keys; returns the keys still there.
std::vector<std::string> unregister_application(const std::string& name);

// The program that a class's open command names, quoted or (as older copies wrote it) not: its
// short path, or the name as written when the file no longer exists; empty when there is none.
void registered_program(const std::string& class_name, std::string& program);
