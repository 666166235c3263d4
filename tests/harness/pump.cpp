#include "harness/pump.h"

#include <windows.h>

namespace harness {

namespace {
// Dispatches what is queued; false when the quit message came, which is put back for the test.
bool dispatch_queued() {
    MSG msg;
    while (PeekMessageA(&msg, nullptr, 0, 0, PM_REMOVE)) {
        if (msg.message == WM_QUIT) {
            PostQuitMessage(static_cast<int>(msg.wParam));
            return false;
        }
        TranslateMessage(&msg);
        DispatchMessageA(&msg);
    }
    return true;
}
}  // namespace

bool pump_until(const std::function<bool()>& done, std::chrono::milliseconds timeout) {
    const auto end = std::chrono::steady_clock::now() + timeout;
    for (;;) {
        const bool quit = !dispatch_queued();
        if (done()) return true;
        if (quit || std::chrono::steady_clock::now() >= end) return false;
        MsgWaitForMultipleObjects(0, nullptr, FALSE, 10, QS_ALLINPUT);
    }
}

void pump_for(std::chrono::milliseconds time) {
    pump_until([] { return false; }, time);
}

}  // namespace harness
