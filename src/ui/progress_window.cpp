#include "ui/progress_window.h"

#include "support/messages.h"
#include "support/texts.h"
#include "support/util.h"
#include "ui/dpi.h"
#include "ui/layout.h"

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
        const int dpi = system_dpi();
        // Sizes in 96-DPI units.
        auto child = [&](const char* control, const std::string& text, int x, int y, int width, int height) {
            return CHECK_CALL(CreateWindowExA(0, control, text.c_str(), WS_CHILD | WS_VISIBLE, to_pixels(x, dpi),
                                              to_pixels(y, dpi), to_pixels(width, dpi), to_pixels(height, dpi), hwnd,
                                              no_id, GetModuleHandleA(nullptr), nullptr));
        };
        createWindow(0, class_name, title.c_str(), WS_POPUP | WS_CAPTION, 0, 0, to_pixels(165, dpi),
                     to_pixels(95, dpi), nullptr);
        center_window(hwnd);
        textFont = scaled_font(font, dpi);
        label = child("static", label_, 10, 10, 100, 15);
        SendMessageA(label, WM_SETFONT, reinterpret_cast<WPARAM>(textFont), 0);
        percentLine = child("static", percent_text(0), 10, 50, 100, 15);
        SendMessageA(percentLine, WM_SETFONT, reinterpret_cast<WPARAM>(textFont), 0);
        bar = child(PROGRESS_CLASSA, "", 10, 30, 145, 14);
        shownPercent = 0;
        ShowWindow(hwnd, SW_SHOWNORMAL);
        CHECK_CALL(UpdateWindow(hwnd));
    } catch (...) {
        abandonWindow();
        if (textFont) DeleteObject(textFont);
        throw;
    }
}

ProgressWindow::~ProgressWindow() { DeleteObject(textFont); }

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
