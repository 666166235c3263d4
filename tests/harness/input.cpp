#include "harness/input.h"

#include <vector>

namespace harness {

bool pump_until(const std::function<bool()>& done, std::chrono::milliseconds timeout) {
    const auto end = std::chrono::steady_clock::now() + timeout;
    for (;;) {
        MSG msg;
        bool quit = false;
        while (!quit && PeekMessageA(&msg, nullptr, 0, 0, PM_REMOVE)) {
            // The quit message is put back for the test.
            if ((quit = msg.message == WM_QUIT)) {
                PostQuitMessage(static_cast<int>(msg.wParam));
            } else {
                TranslateMessage(&msg);
                DispatchMessageA(&msg);
            }
        }
        if (done()) return true;
        if (quit || std::chrono::steady_clock::now() >= end) return false;
        MsgWaitForMultipleObjects(0, nullptr, FALSE, 10, QS_ALLINPUT);
    }
}

void pump_for(std::chrono::milliseconds time) {
    pump_until([] { return false; }, time);
}

bool bring_to_front(HWND window) {
    SetForegroundWindow(window);
    return pump_until([window] { return GetForegroundWindow() == window; }, std::chrono::seconds(3));
}

void click(HWND window, POINT point, MouseButton button) {
    ClientToScreen(window, &point);
    INPUT events[3] = {};
    for (INPUT& event : events) {
        event.type = INPUT_MOUSE;
        // Absolute mouse coordinates run from 0 to 65535 across the primary screen.
        event.mi.dx = MulDiv(point.x, 65536, GetSystemMetrics(SM_CXSCREEN)) + 1;
        event.mi.dy = MulDiv(point.y, 65536, GetSystemMetrics(SM_CYSCREEN)) + 1;
    }
    const DWORD down[] = {MOUSEEVENTF_LEFTDOWN, MOUSEEVENTF_RIGHTDOWN, MOUSEEVENTF_MIDDLEDOWN};
    const DWORD pressed = down[static_cast<int>(button)];
    events[0].mi.dwFlags = MOUSEEVENTF_MOVE | MOUSEEVENTF_ABSOLUTE;
    events[1].mi.dwFlags = pressed | MOUSEEVENTF_ABSOLUTE;
    events[2].mi.dwFlags = pressed * 2 | MOUSEEVENTF_ABSOLUTE;  // each button's up flag follows its down flag
    SendInput(3, events, sizeof(INPUT));
}

void press_key(WORD virtual_key, bool ctrl) {
    auto key = [](WORD vk, bool release) {
        INPUT input{};
        input.type = INPUT_KEYBOARD;
        input.ki.wVk = vk;
        input.ki.wScan = static_cast<WORD>(MapVirtualKeyA(vk, MAPVK_VK_TO_VSC));
        input.ki.dwFlags = release ? KEYEVENTF_KEYUP : 0;
        return input;
    };
    std::vector<INPUT> events;
    if (ctrl) events.push_back(key(VK_CONTROL, false));
    events.push_back(key(virtual_key, false));
    events.push_back(key(virtual_key, true));
    if (ctrl) events.push_back(key(VK_CONTROL, true));
    SendInput(static_cast<UINT>(events.size()), events.data(), sizeof(INPUT));
}

}  // namespace harness
