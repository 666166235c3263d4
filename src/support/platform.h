#pragma once
// The few system services the portable core needs. One implementation file per platform,
// chosen by the build: platform_windows.cpp or platform_posix.cpp.
#include <cstdint>
#include <cstdio>
#include <string>

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
// True when the existing file may be written to.
bool file_writable(const std::string& path);
// Pushes what the file's stream has handed to the system through to the disk. False on failure,
// with the last error set.
bool flush_to_disk(std::FILE* file);
// Puts the file `from` in the place of `to` in one step, replacing any file there. False on
// failure, with the last error set.
bool replace_file(const std::string& from, const std::string& to);

// The calling thread's last system error (GetLastError, or errno) and its wording.
unsigned long last_error_code();
std::string last_error_text();

}  // namespace platform
