#include "harness/process.h"

#include "harness/input.h"

#include <stdexcept>

namespace harness {

Process::Process(const std::string& command_line, const std::string& directory) {
    STARTUPINFOA startup{sizeof startup};
    std::string writable = command_line;  // CreateProcessA may write into it
    if (!CreateProcessA(nullptr, writable.data(), nullptr, nullptr, FALSE, 0, nullptr,
                        directory.empty() ? nullptr : directory.c_str(), &startup, &info))
        throw std::runtime_error("cannot start " + command_line);
}

Process::~Process() {
    end();
    CloseHandle(info.hThread);
    CloseHandle(info.hProcess);
}

bool Process::end() {
    if (WaitForSingleObject(info.hProcess, 0) != WAIT_TIMEOUT) return false;
    TerminateProcess(info.hProcess, 1);
    WaitForSingleObject(info.hProcess, 5000);
    return true;
}

std::optional<DWORD> Process::wait(std::chrono::milliseconds timeout) {
    pump_until([this] { return WaitForSingleObject(info.hProcess, 0) != WAIT_TIMEOUT; }, timeout);
    DWORD code = 0;
    if (end() || !GetExitCodeProcess(info.hProcess, &code)) return std::nullopt;
    return code;
}

std::optional<DWORD> run_process(const std::string& command_line, const std::string& directory,
                                 std::chrono::milliseconds timeout) {
    return Process(command_line, directory).wait(timeout);
}

}  // namespace harness
