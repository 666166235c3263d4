#pragma once
// Other processes a test starts, such as a second copy of the program: the test's thread keeps
// dispatching its own messages while it waits, because the other process may be sending them.
#include <windows.h>

#include <chrono>
#include <optional>
#include <string>

namespace harness {

class Process {
public:
    // Starts `command_line` (the program first) in `directory` (the test's own when empty).
    // Throws std::runtime_error when it cannot be started.
    explicit Process(const std::string& command_line, const std::string& directory = {});
    // Ends the process if it still runs.
    ~Process();
    Process(const Process&) = delete;
    Process& operator=(const Process&) = delete;

    // Dispatches this thread's messages until the process has ended and returns its exit code;
    // nothing when it is still running after `timeout` (it is then ended).
    std::optional<DWORD> wait(std::chrono::milliseconds timeout = std::chrono::seconds(30));

private:
    bool end();  // whether it still ran
    PROCESS_INFORMATION info{};
};

// Starts the command line and waits for it as Process::wait does.
std::optional<DWORD> run_process(const std::string& command_line, const std::string& directory = {},
                                 std::chrono::milliseconds timeout = std::chrono::seconds(30));

}  // namespace harness
