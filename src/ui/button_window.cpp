#include "ui/button_window.h"

ButtonWindow::ButtonWindow(Window* parent, unsigned id_)
    : ControlWindow(parent, "button", WS_CHILD | WS_VISIBLE | BS_OWNERDRAW, static_cast<int>(id_)), id(id_) {}

LRESULT ButtonWindow::handleMessage(UINT message, WPARAM wParam, LPARAM lParam) {
    // The second click of a quick double click counts as one more press instead of being lost.
    if (message == WM_LBUTTONDBLCLK) {
        SendMessageA(parent->hwnd, WM_COMMAND, id, 0);
        return 0;
    }
    return ControlWindow::handleMessage(message, wParam, lParam);
}
