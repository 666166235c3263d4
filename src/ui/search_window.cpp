#include "ui/search_window.h"

#include "ui/command_ids.h"

SearchWindow::SearchWindow(Window* parent, Window* partner_, int id)
    : ControlWindow(parent, "edit", WS_CHILD | WS_VISIBLE | WS_BORDER, id), partner(partner_) {}

LRESULT SearchWindow::handleMessage(UINT message, WPARAM wParam, LPARAM lParam) {
    if (message == WM_KEYDOWN) {
        switch (wParam) {
        case VK_TAB:
            SetFocus(partner->hwnd);
            return 0;
        case VK_RETURN:
            SendMessageA(parent->hwnd, WM_COMMAND, CMD_NEXT, 0);  // Enter shows the next found nib
            return 0;
        case VK_PRIOR:
        case VK_NEXT:
            // The text field scrolls by a page while typing goes on here.
            SendMessageA(partner->hwnd, message, wParam, lParam);
            SetFocus(hwnd);
            break;
        default:
            break;
        }
    }
    // Dropped so that the single-line control does not beep.
    if (message == WM_CHAR && (wParam == '\t' || wParam == '\r' || wParam == '\n')) return 0;
    return ControlWindow::handleMessage(message, wParam, lParam);
}
