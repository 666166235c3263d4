#include "harness/process.h"

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
    const auto end_time = std::chrono::steady_clock::now() + timeout;
    // A quit message is kept for the test; after it only messages sent by other threads and
    // processes are handled, as the process may be waiting for their answers.
    std::optional<WPARAM> quit;
    for (MSG msg; std::chrono::steady_clock::now() < end_time;) {
        if (quit) PeekMessageA(&msg, nullptr, 0, 0, PM_NOREMOVE | PM_QS_SENDMESSAGE);
        while (!quit && PeekMessageA(&msg, nullptr, 0, 0, PM_REMOVE)) {
            if (msg.message == WM_QUIT) {
                quit = msg.wParam;
            } else {
                TranslateMessage(&msg);
                DispatchMessageA(&msg);
            }
        }
        if (MsgWaitForMultipleObjects(1, &info.hProcess, FALSE, 100, quit ? QS_SENDMESSAGE : QS_ALLINPUT) == WAIT_OBJECT_0)
            break;
    }
    if (quit) PostQuitMessage(static_cast<int>(*quit));
    DWORD code = 0;
    if (end() || !GetExitCodeProcess(info.hProcess, &code)) return std::nullopt;
    return code;
}

std::optional<DWORD> run_process(const std::string& command_line, const std::string& directory,
                                 std::chrono::milliseconds timeout) {
    return Process(command_line, directory).wait(timeout);
}

}  // namespace harness
