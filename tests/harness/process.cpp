#include "harness/process.h"

#include <algorithm>
#include <stdexcept>

namespace harness {

Process::Process(const std::string& command_line, const std::string& directory) {
    STARTUPINFOA startup{};
    startup.cb = sizeof startup;
    std::string writable = command_line;  // CreateProcessA may write into it
    if (!CreateProcessA(nullptr, writable.data(), nullptr, nullptr, FALSE, 0, nullptr,
                        directory.empty() ? nullptr : directory.c_str(), &startup, &info))
        throw std::runtime_error("cannot start " + command_line);
}

Process::~Process() {
    if (running()) {
        TerminateProcess(info.hProcess, 1);
        WaitForSingleObject(info.hProcess, 5000);
    }
    CloseHandle(info.hThread);
    CloseHandle(info.hProcess);
}

bool Process::running() const { return WaitForSingleObject(info.hProcess, 0) == WAIT_TIMEOUT; }

std::optional<DWORD> Process::wait(std::chrono::milliseconds timeout) {
    const auto end = std::chrono::steady_clock::now() + timeout;
    // A quit message is kept for the test; after it only messages sent by other threads and
    // processes are handled, as the process may be waiting for their answers.
    std::optional<int> quit;
    bool timed_out = false;
    for (;;) {
        MSG msg;
        if (quit) PeekMessageA(&msg, nullptr, 0, 0, PM_NOREMOVE | PM_QS_SENDMESSAGE);
        while (!quit && PeekMessageA(&msg, nullptr, 0, 0, PM_REMOVE)) {
            if (msg.message == WM_QUIT) {
                quit = static_cast<int>(msg.wParam);
            } else {
                TranslateMessage(&msg);
                DispatchMessageA(&msg);
            }
        }
        if (!running()) break;
        const auto left = std::chrono::duration_cast<std::chrono::milliseconds>(end - std::chrono::steady_clock::now());
        if (left.count() <= 0) {
            TerminateProcess(info.hProcess, 1);
            WaitForSingleObject(info.hProcess, 5000);
            timed_out = true;
            break;
        }
        MsgWaitForMultipleObjects(1, &info.hProcess, FALSE, static_cast<DWORD>(std::min<long long>(left.count(), 100)),
                                  quit ? QS_SENDMESSAGE : QS_ALLINPUT);
    }
    if (quit) PostQuitMessage(*quit);
    DWORD code = 0;
    if (timed_out || !GetExitCodeProcess(info.hProcess, &code)) return std::nullopt;
    return code;
}

std::optional<DWORD> run_process(const std::string& command_line, const std::string& directory,
                                 std::chrono::milliseconds timeout) {
    return Process(command_line, directory).wait(timeout);
}

}  // namespace harness
