// The terminal on Linux and other POSIX systems: bytes in, bytes out, the encoding from the locale.
#include "tools/console.h"

#include <clocale>
#include <cstring>

#include <langinfo.h>
#include <unistd.h>

namespace console {

Terminal open_terminal() {
    std::setlocale(LC_CTYPE, "");
    Terminal terminal;
    terminal.utf8 = std::strcmp(nl_langinfo(CODESET), "UTF-8") == 0;
    terminal.progress = isatty(STDERR_FILENO) == 1;
    return terminal;
}

std::unique_ptr<std::streambuf> console_buffer(StandardStream) { return nullptr; }

std::vector<std::string> arguments(int argc, char** argv) { return {argv + 1, argv + argc}; }

}  // namespace console
