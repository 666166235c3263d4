// Arbitrary text as a command line (a hand-over or a Restart Command). Splitting must not crash,
// and quoting the arguments back into one line must give the same arguments again.
#include "support/util_text.h"

#include <cstdint>
#include <cstdlib>
#include <string>
#include <vector>

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const std::string text(reinterpret_cast<const char*>(data), size);
    std::vector<std::string> arguments;
    split_command_line(text, arguments);

    std::string joined;
    for (const std::string& argument : arguments) {
        // Only a plain argument can hold a quote, and it never starts with one: it goes as it is.
        if (argument.find('"') != std::string::npos)
            joined += argument;
        else
            joined += '"' + argument + '"';
        joined += ' ';
    }
    std::vector<std::string> again;
    split_command_line(joined, again);
    if (again != arguments) std::abort();
    return 0;
}
