// Opening pads for the command line and for the windows, and the hand-over to a running copy.
#include "app/application.h"

#include "ui/copy_data.h"
#include "ui/main_window.h"

HWND Application::openPad(const std::string& path) {
    if (otherInstance) return reinterpret_cast<HWND>(sendCopyData(otherInstance, copyOpenPad, path));
    // A copy of the list: a window that answers may open or close others.
    const std::vector<MainWindow*> open = windows;
    for (MainWindow* window : open)
        if (SendMessageA(window->hwnd, WM_ISYOURPAD, reinterpret_cast<WPARAM>(path.c_str()), 0)) return window->hwnd;
    return (new MainWindow(path))->hwnd;
}

HWND Application::newPad(int show) {
    if (otherInstance) return reinterpret_cast<HWND>(sendCopyData(otherInstance, copyNewPad, ""));
    return (new MainWindow(show, ""))->hwnd;
}

LRESULT Application::sendCopyData(HWND window, std::uintptr_t code, const std::string& text) {
    COPYDATASTRUCT record{};
    record.dwData = code;
    record.cbData = static_cast<DWORD>(copy_data_size(text));
    record.lpData = record.cbData ? const_cast<char*>(text.c_str()) : nullptr;
    return SendMessageA(window, WM_COPYDATA, 0, reinterpret_cast<LPARAM>(&record));
}
