#include "ui/about_window.h"

#include "support/messages.h"
#include "support/texts.h"
#include "support/util.h"
#include "ui/resource_ids.h"

namespace {

constexpr const char* class_name = "AboutWin";
constexpr int picture_width = 375, picture_height = 265, picture_offset = 7;
constexpr int window_width = 395, window_height = 305;

void register_class() {
    static bool registered = false;
    if (registered) return;
    HINSTANCE instance = GetModuleHandleA(nullptr);
    WNDCLASSEXA wc{};
    wc.cbSize = sizeof wc;
    wc.style = CS_HREDRAW | CS_VREDRAW;
    wc.lpfnWndProc = Window::windowProc;
    wc.hInstance = instance;
    wc.hIcon = CHECK_CALL(LoadIconA(instance, MAKEINTRESOURCEA(IDI_PROGRAM)));
    wc.hIconSm = wc.hIcon;
    wc.hCursor = CHECK_CALL(LoadCursorA(nullptr, IDC_ARROW));
    wc.hbrBackground = GetSysColorBrush(COLOR_WINDOW);
    wc.lpszClassName = class_name;
    CHECK_CALL(RegisterClassExA(&wc));
    registered = true;
}

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

class MemoryDC {
public:
    explicit MemoryDC(HDC like) : dc(CHECK_CALL(CreateCompatibleDC(like))) {}
    ~MemoryDC() {
        if (old) SelectObject(dc, old);
        DeleteDC(dc);
    }
    MemoryDC(const MemoryDC&) = delete;
    MemoryDC& operator=(const MemoryDC&) = delete;
    void select(HGDIOBJ object) { old = CHECK_CALL(SelectObject(dc, object)); }
    HDC dc;

private:
    HGDIOBJ old = nullptr;
};

}  // namespace

AboutWindow::AboutWindow() : Window(nullptr) {
    try {
        register_class();
        picture = CHECK_CALL(LoadBitmapA(GetModuleHandleA(nullptr), MAKEINTRESOURCEA(IDB_ABOUT)));
        RECT place{0, 0, window_width, window_height};
        const RECT screen = screen_rect();
        center_rect(place, screen.left, screen.top, screen.right, screen.bottom);
        createWindow(0, class_name, texts.about_menu, WS_CAPTION | WS_SYSMENU, place.left, place.top, window_width,
                     window_height, nullptr);
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
        CHECK_CALL(BitBlt(paint.dc, picture_offset, picture_offset, picture_width, picture_height, memory.dc, 0, 0,
                          SRCCOPY));
        return 0;
    }
    default:
        return DefWindowProcA(hwnd, message, wParam, lParam);
    }
}
