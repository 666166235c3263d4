#pragma once
// The few system services the portable core needs. One implementation file per platform,
// chosen by the build: platform_windows.cpp or platform_posix.cpp.
#include <cstdint>
#include <string>

namespace platform {

// Shows a message box and waits for the user: MessageBoxA on Windows; elsewhere the title and
// text go to standard error. `owner` is a window handle or null.
void message_box(void* owner, const std::string& text, const std::string& title, std::uint32_t style);

// The lower-case form of one byte of the ANSI code page; never changes the length of a text.
char to_lower(char c);

// The calling thread's last system error (GetLastError, or errno) and its wording.
unsigned long last_error_code();
std::string last_error_text();

}  // namespace platform
