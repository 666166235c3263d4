#include "ui/about_window.h"

#include "support/messages.h"
#include "support/texts.h"
#include "support/util.h"
#include "ui/dpi.h"
#include "ui/layout.h"
#include "ui/resource_ids.h"

namespace {

constexpr const char* class_name = "AboutWin";
constexpr int picture_width = 375, picture_height = 265, picture_offset = 7;
constexpr int window_width = 395, window_height = 305;

// BeginPaint and EndPaint as a pair, so that a failed paint call still ends the paint.
class Paint {
public:
    explicit Paint(HWND window) : window(window) { dc = BeginPaint(window, &ps); }
    ~Paint() { EndPaint(window, &ps); }
    Paint(const Paint&) = delete;
    Paint& operator=(const Paint&) = delete;
    HDC dc;

private:
    HWND window;
    PAINTSTRUCT ps;
};

}  // namespace

AboutWindow::AboutWindow() : Window(nullptr) {
    try {
        registerClass(class_name, COLOR_WINDOW);
        picture = CHECK_CALL(LoadBitmapA(GetModuleHandleA(nullptr), MAKEINTRESOURCEA(IDB_ABOUT)));
        dpi = system_dpi();
        RECT place{0, 0, to_pixels(window_width, dpi), to_pixels(window_height, dpi)};
        const RECT screen = screen_rect();
        center_rect(place, screen.left, screen.top, screen.right, screen.bottom);
        createWindow(0, class_name, texts.about_menu, WS_CAPTION | WS_SYSMENU, place.left, place.top,
                     place.right - place.left, place.bottom - place.top, nullptr);
        center_window(hwnd);
        ShowWindow(hwnd, SW_SHOWNORMAL);
        CHECK_CALL(UpdateWindow(hwnd));
    } catch (...) {
        abandonWindow();
        if (picture) DeleteObject(picture);
        throw;
    }
}

AboutWindow::~AboutWindow() { DeleteObject(picture); }

LRESULT AboutWindow::handleMessage(UINT message, WPARAM wParam, LPARAM lParam) {
    switch (message) {
    case WM_LBUTTONDOWN:
    case WM_RBUTTONDOWN:
    case WM_KEYDOWN:
        // The default handling of WM_CLOSE destroys the window, and with it this object.
        SendMessageA(hwnd, WM_CLOSE, 0, 0);
        return 0;
    case WM_PAINT: {
        Paint paint(hwnd);
        MemoryDC memory(paint.dc);
        memory.select(picture);
        // Smoothed when the screen's DPI enlarges it.
        SetStretchBltMode(paint.dc, HALFTONE);
        SetBrushOrgEx(paint.dc, 0, 0, nullptr);  // as HALFTONE asks
        CHECK_CALL(StretchBlt(paint.dc, to_pixels(picture_offset, dpi), to_pixels(picture_offset, dpi),
                              to_pixels(picture_width, dpi), to_pixels(picture_height, dpi), memory.get(), 0, 0,
                              picture_width, picture_height, SRCCOPY));
        return 0;
    }
    default:
        return DefWindowProcA(hwnd, message, wParam, lParam);
    }
}
