#include "harness/input.h"

#include "harness/pump.h"

#include <vector>

namespace harness {

bool bring_to_front(HWND window) {
    SetForegroundWindow(window);
    return pump_until([window] { return GetForegroundWindow() == window; }, std::chrono::seconds(3));
}

void click(HWND window, POINT client_point, MouseButton button) {
    POINT screen = client_point;
    ClientToScreen(window, &screen);
    // Absolute mouse coordinates run from 0 to 65535 across the primary screen.
    const int width = GetSystemMetrics(SM_CXSCREEN), height = GetSystemMetrics(SM_CYSCREEN);
    INPUT move{};
    move.type = INPUT_MOUSE;
    move.mi.dx = MulDiv(screen.x, 65536, width) + 1;
    move.mi.dy = MulDiv(screen.y, 65536, height) + 1;
    move.mi.dwFlags = MOUSEEVENTF_MOVE | MOUSEEVENTF_ABSOLUTE;
    DWORD down = MOUSEEVENTF_LEFTDOWN, up = MOUSEEVENTF_LEFTUP;
    if (button == MouseButton::right) down = MOUSEEVENTF_RIGHTDOWN, up = MOUSEEVENTF_RIGHTUP;
    if (button == MouseButton::middle) down = MOUSEEVENTF_MIDDLEDOWN, up = MOUSEEVENTF_MIDDLEUP;
    INPUT press = move, release = move;
    press.mi.dwFlags = down | MOUSEEVENTF_ABSOLUTE;
    release.mi.dwFlags = up | MOUSEEVENTF_ABSOLUTE;
    INPUT events[] = {move, press, release};
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
