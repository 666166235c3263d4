#include "ui/progress_window.h"

#include "support/messages.h"
#include "support/texts.h"
#include "support/util.h"

#include <commctrl.h>

namespace {

constexpr const char* class_name = "ProgrWin";
const auto no_id = reinterpret_cast<HMENU>(static_cast<INT_PTR>(-1));

std::string percent_text(int percent) { return fill_message(texts.percent_done, std::to_string(percent)); }

}  // namespace

ProgressWindow::ProgressWindow(const std::string& title, const std::string& label_, HFONT font) : Window(nullptr) {
    try {
        InitCommonControls();
        registerClass(class_name, COLOR_3DFACE);
        createWindow(0, class_name, title.c_str(), WS_POPUP | WS_CAPTION, 0, 0, 165, 95, nullptr);
        center_window(hwnd);
        HINSTANCE instance = GetModuleHandleA(nullptr);
        label = CHECK_CALL(CreateWindowExA(0, "static", label_.c_str(), WS_CHILD | WS_VISIBLE, 10, 10, 100, 15, hwnd,
                                           no_id, instance, nullptr));
        SendMessageA(label, WM_SETFONT, reinterpret_cast<WPARAM>(font), 0);
        percentLine = CHECK_CALL(CreateWindowExA(0, "static", percent_text(0).c_str(), WS_CHILD | WS_VISIBLE, 10, 50,
                                                 100, 15, hwnd, no_id, instance, nullptr));
        SendMessageA(percentLine, WM_SETFONT, reinterpret_cast<WPARAM>(font), 0);
        bar = CHECK_CALL(CreateWindowExA(0, PROGRESS_CLASSA, "", WS_CHILD | WS_VISIBLE, 10, 30, 145, 14, hwnd, no_id,
                                         instance, nullptr));
        shownPercent = 0;
        ShowWindow(hwnd, SW_SHOWNORMAL);
        CHECK_CALL(UpdateWindow(hwnd));
    } catch (...) {
        abandonWindow();
        throw;
    }
}

void ProgressWindow::setProgress(double fraction) {
    // Outside 0 to 1 (or not a number) the conversion to int would be undefined; such a caller
    // gets the nearest end of the bar.
    if (!(fraction >= 0.0)) fraction = 0.0;
    if (fraction > 1.0) fraction = 1.0;
    const int percent = static_cast<int>(fraction * 100.0);
    if (percent == shownPercent) return;
    shownPercent = percent;
    SetWindowTextA(percentLine, percent_text(percent).c_str());
    SendMessageA(bar, PBM_SETPOS, static_cast<WPARAM>(percent), 0);
    UpdateWindow(hwnd);
}
