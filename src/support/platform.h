#pragma once
// The few system services the portable core needs. One implementation file per platform,
// chosen by the build: platform_windows.cpp or platform_posix.cpp.
#include <cstdint>
#include <cstdio>
#include <string>
#include <vector>

namespace platform {

// Shows a message box and waits for the user: MessageBoxA on Windows; elsewhere the title and
// text go to standard error. `owner` is a window handle or null.
void message_box(void* owner, const std::string& text, const std::string& title, std::uint32_t style);

// The lower-case form of one byte of the ANSI code page; never changes the length of a text.
char to_lower(char c);

// A 16-byte id in the system's layout: a 32-bit field, two 16-bit fields, then 8 bytes.
struct Uuid {
    std::uint32_t data1;
    std::uint16_t data2;
    std::uint16_t data3;
    std::uint8_t data4[8];
};

// Writes a new id: UuidCreate on Windows, a random version-4 id elsewhere. False when the system
// could not make one it calls unique (no network address, no random source); the caller then
// builds its own over whatever was written.
bool create_uuid(Uuid& id);
// The 36-character lower-case text (8-4-4-4-12 hexadecimal digits). False when the system fails.
bool uuid_to_text(const Uuid& id, std::string& text);
// Parses that text (either case); false, leaving `id` undefined, when it is not a UUID text.
bool uuid_from_text(const std::string& text, Uuid& id);
// Negative, zero or positive: first field, then the two 16-bit fields, then the bytes, unsigned.
int uuid_compare(const Uuid& a, const Uuid& b);
// Mixes the listing of the system drive's root folder into an id; leaves it as it is when the
// folder cannot be listed. For ids that must be built without the system's help.
void mix_root_listing(Uuid& id);
unsigned long process_id();

// Files: saving puts a complete new file in the old one's place, so a failure never loses it.
// std::fopen and std::remove, also for a path longer than Windows' old limit of 260 characters.
std::FILE* open_file(const std::string& path, const char* how);
bool remove_file(const std::string& path);
// True when the existing file may be written to.
bool file_writable(const std::string& path);
// Pushes what the file's stream has handed to the system through to the disk. False on failure,
// with the last error set.
bool flush_to_disk(std::FILE* file);
// Puts the file `from` in the place of `to` in one step, replacing any file there and keeping
// what the system keeps of the old file (ReplaceFile on Windows: attributes and security). False
// on failure, with the last error set.
bool replace_file(const std::string& from, const std::string& to);
// The file that `path` leads to, symbolic links followed, also when that file does not exist yet.
// The path itself when it is no link or cannot be resolved.
std::string real_path(const std::string& path);
// How many names the existing file has; 1 when the system cannot tell.
unsigned long link_count(const std::string& path);
// Gives `copy` the permissions, owner and group of `original` as far as this user may; where the
// replacement keeps them by itself (Windows) it does nothing.
void keep_owner_and_mode(const std::string& original, const std::string& copy);
// Cuts the open file at `size` bytes. False on failure, with the last error set.
bool truncate_file(std::FILE* file, std::uint64_t size);
// The folder for temporary files, without a trailing separator.
std::string temporary_folder();
// The names in a folder (without "." and ".."); empty when it cannot be listed.
std::vector<std::string> folder_entries(const std::string& folder);
// The separator of folders in a path.
char folder_separator();
// Whether a process of this id runs on this machine.
bool process_running(unsigned long id);
// Sets the last error as the system does for one of these failures of a file operation.
enum class FileError { device, disk_full, access_denied };
void set_file_error(FileError error);

// The calling thread's last system error (GetLastError, or errno) and its wording.
unsigned long last_error_code();
std::string last_error_text();

}  // namespace platform
