#include "harness/input.h"

#include <optional>

namespace harness {

bool pump_until(const std::function<bool()>& done, std::chrono::milliseconds timeout) {
    const auto end = std::chrono::steady_clock::now() + timeout;
    // A quit message is kept for the test; after it only messages sent by other threads and
    // processes are handled, as they may be waiting for their answers.
    std::optional<WPARAM> quit;
    MSG msg;
    for (;;) {
        if (quit) PeekMessageA(&msg, nullptr, 0, 0, PM_NOREMOVE | PM_QS_SENDMESSAGE);
        while (!quit && PeekMessageA(&msg, nullptr, 0, 0, PM_REMOVE)) {
            if (msg.message == WM_QUIT) {
                quit = msg.wParam;
            } else {
                TranslateMessage(&msg);
                DispatchMessageA(&msg);
            }
        }
        if (done() || std::chrono::steady_clock::now() >= end) break;
        MsgWaitForMultipleObjects(0, nullptr, FALSE, 10, quit ? QS_SENDMESSAGE : QS_ALLINPUT);
    }
    if (quit) PostQuitMessage(static_cast<int>(*quit));
    return done();
}

void pump_for(std::chrono::milliseconds time) {
    pump_until([] { return false; }, time);
}

bool bring_to_front(HWND window) {
    SetForegroundWindow(window);
    return pump_until([window] { return GetForegroundWindow() == window; }, 3s);
}

}  // namespace harness
