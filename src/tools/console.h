#pragma once
// Where nibtool meets the terminal it runs in. One implementation file per platform, chosen by
// the build: console_posix.cpp or console_windows.cpp.
#include "tools/terminal.h"

#include <memory>
#include <streambuf>
#include <string>
#include <vector>

namespace console {

// Sets this run up for the terminal and says how nibtool meets it: on POSIX the character type
// comes from the locale, so that a UTF-8 terminal is known as one.
Terminal open_terminal();

enum class StandardStream { input, output, error };
// A buffer that reads or writes the console through its wide interface, for a standard stream
// that is a console on Windows: narrow text in the ANSI code page meets the console as the
// characters it stands for. Null where the stream takes bytes as they are.
std::unique_ptr<std::streambuf> console_buffer(StandardStream stream);

// The arguments after the program's name. On Windows they come wide from the command line and are
// converted to the ANSI code page; throws msg_exception for a character that it cannot hold,
// rather than letting the system put a look-alike or "?" in its place.
std::vector<std::string> arguments(int argc, char** argv);

}  // namespace console
