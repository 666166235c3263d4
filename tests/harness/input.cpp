#include "harness/input.h"

#include <utility>
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

namespace {

INPUT key_event(WORD virtual_key, bool release) {
    INPUT input{};
    input.type = INPUT_KEYBOARD;
    input.ki.wVk = virtual_key;
    input.ki.wScan = static_cast<WORD>(MapVirtualKeyA(virtual_key, MAPVK_VK_TO_VSC));
    input.ki.dwFlags = release ? KEYEVENTF_KEYUP : 0;
    return input;
}

// `events` with the held keys pressed before them and released after them.
std::vector<INPUT> holding(const std::vector<WORD>& held, std::vector<INPUT> events) {
    std::vector<INPUT> all;
    for (WORD key : held) all.push_back(key_event(key, false));
    all.insert(all.end(), events.begin(), events.end());
    for (WORD key : held) all.push_back(key_event(key, true));
    return all;
}

void send(std::vector<INPUT> events) {
    SendInput(static_cast<UINT>(events.size()), events.data(), sizeof(INPUT));
}

// A pointer event at a point of the window's client area.
INPUT mouse_event_at(HWND window, POINT point, DWORD flags) {
    ClientToScreen(window, &point);
    INPUT input{};
    input.type = INPUT_MOUSE;
    // Absolute mouse coordinates run from 0 to 65535 across the primary screen.
    input.mi.dx = MulDiv(point.x, 65536, GetSystemMetrics(SM_CXSCREEN)) + 1;
    input.mi.dy = MulDiv(point.y, 65536, GetSystemMetrics(SM_CYSCREEN)) + 1;
    input.mi.dwFlags = flags | MOUSEEVENTF_ABSOLUTE;
    return input;
}

}  // namespace

void click(HWND window, POINT point, MouseButton button) {
    const DWORD down[] = {MOUSEEVENTF_LEFTDOWN, MOUSEEVENTF_RIGHTDOWN, MOUSEEVENTF_MIDDLEDOWN};
    const DWORD pressed = down[static_cast<int>(button)];
    // Each button's up flag follows its down flag.
    send({mouse_event_at(window, point, MOUSEEVENTF_MOVE), mouse_event_at(window, point, pressed),
          mouse_event_at(window, point, pressed * 2)});
}

void press_key(WORD virtual_key, bool ctrl) {
    send(holding(ctrl ? std::vector<WORD>{VK_CONTROL} : std::vector<WORD>{},
                 {key_event(virtual_key, false), key_event(virtual_key, true)}));
}

}  // namespace harness
