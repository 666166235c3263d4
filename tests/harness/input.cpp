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

void click(HWND window, POINT point, MouseButton button) {
    ClientToScreen(window, &point);
    const DWORD down[] = {MOUSEEVENTF_LEFTDOWN, MOUSEEVENTF_RIGHTDOWN, MOUSEEVENTF_MIDDLEDOWN};
    INPUT events[3] = {};
    // Each button's up flag follows its down flag.
    const DWORD flags[] = {MOUSEEVENTF_MOVE, down[static_cast<int>(button)], down[static_cast<int>(button)] * 2};
    for (int i = 0; i < 3; ++i) {
        events[i].type = INPUT_MOUSE;
        // Absolute mouse coordinates run from 0 to 65535 across the primary screen.
        events[i].mi.dx = MulDiv(point.x, 65536, GetSystemMetrics(SM_CXSCREEN)) + 1;
        events[i].mi.dy = MulDiv(point.y, 65536, GetSystemMetrics(SM_CYSCREEN)) + 1;
        events[i].mi.dwFlags = flags[i] | MOUSEEVENTF_ABSOLUTE;
    }
    SendInput(3, events, sizeof(INPUT));
}

void press_key(WORD virtual_key) {
    INPUT events[2] = {};
    for (int i = 0; i < 2; ++i) {
        events[i].type = INPUT_KEYBOARD;
        events[i].ki.wVk = virtual_key;
        events[i].ki.wScan = static_cast<WORD>(MapVirtualKeyA(virtual_key, MAPVK_VK_TO_VSC));
        events[i].ki.dwFlags = i ? KEYEVENTF_KEYUP : 0;
    }
    SendInput(2, events, sizeof(INPUT));
}

}  // namespace harness
