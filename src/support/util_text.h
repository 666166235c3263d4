#pragma once
// The pure text side of the shell utilities: command lines and path names. Portable, so that the
// rules are checked natively as well as on Windows.
#include <string>
#include <vector>

// Appends the arguments of a command line to `arguments`. Blanks and other white space separate
// arguments; double quotes enclose one that holds blanks. There is no escape character: a
// backslash is ordinary, and a quoted argument that is never closed is dropped.
void split_command_line(const std::string& text, std::vector<std::string>& arguments);

// The part of a path up to and including its last "\", "/" or ":" (one at the very start does not
// count); the whole path when there is none.
std::string directory_of(const std::string& path);

// The part of a path after its last "\", "/" or ":" (one at the very start does not count); the
// whole path when there is none.
std::string file_name_of(const std::string& path);

// The extension a file dialog gives a name typed without one: that of the first filter's pattern
// ("txt" for "*.txt"), or none when that pattern has no single plain extension ("*.*").
// `filters` holds name, pattern, name, pattern ...
std::string default_extension(const std::vector<std::string>& filters);
