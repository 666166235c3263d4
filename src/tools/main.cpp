#include "tools/console.h"
#include "tools/large_pages.h"
#include "tools/nibtool.h"

#include <iostream>

namespace {

// Points a standard stream at the console's own buffer while nibtool runs, where it has one.
class ConsoleStream {
public:
    ConsoleStream(std::ios& stream, console::StandardStream which)
        : stream(stream), buffer(console::console_buffer(which)) {
        if (buffer) replaced = stream.rdbuf(buffer.get());
    }
    ~ConsoleStream() {
        if (!buffer) return;
        buffer->pubsync();
        stream.rdbuf(replaced);
    }
    ConsoleStream(const ConsoleStream&) = delete;
    ConsoleStream& operator=(const ConsoleStream&) = delete;

private:
    std::ios& stream;
    std::unique_ptr<std::streambuf> buffer;
    std::streambuf* replaced = nullptr;
};

}  // namespace

int main(int argc, char** argv) {
    prefer_large_pages();
    std::ios::sync_with_stdio(false);
    const Terminal terminal = console::open_terminal();
    const ConsoleStream input(std::cin, console::StandardStream::input);
    const ConsoleStream output(std::cout, console::StandardStream::output);
    const ConsoleStream error(std::cerr, console::StandardStream::error);
    std::vector<std::string> arguments;
    try {
        arguments = console::arguments(argc, argv);
    } catch (const msg_exception& failure) {
        print_error(std::cerr, failure);
        return 1;
    }
    return run_nibtool(arguments, std::cin, std::cout, std::cerr, terminal);
}
