#include "ui/dpi.h"

#include "support/messages.h"
#include "ui/layout.h"

namespace {

int overridden = 0;

// Looked up at run time: systems before Windows 10 have neither.
template <typename Function>
Function user32_function(const char* name) {
    return reinterpret_cast<Function>(reinterpret_cast<void*>(GetProcAddress(GetModuleHandleA("user32.dll"), name)));
}

int screen_dpi() {
    HDC screen = CHECK_CALL(GetDC(nullptr));
    const int dpi = GetDeviceCaps(screen, LOGPIXELSY);
    ReleaseDC(nullptr, screen);
    return dpi;
}

}  // namespace

int window_dpi(HWND window) {
    if (overridden) return overridden;
    static const auto for_window = user32_function<UINT(WINAPI*)(HWND)>("GetDpiForWindow");
    if (for_window)
        if (const UINT dpi = for_window(window)) return static_cast<int>(dpi);
    return system_dpi();
}

int system_dpi() {
    if (overridden) return overridden;
    static const auto for_system = user32_function<UINT(WINAPI*)()>("GetDpiForSystem");
    return for_system ? static_cast<int>(for_system()) : screen_dpi();
}

void override_dpi(int dpi) { overridden = dpi; }

HFONT scaled_font(HFONT font, int dpi) {
    LOGFONTA description{};
    CHECK_CALL(GetObjectA(font, sizeof description, &description));
    description.lfHeight = to_pixels(description.lfHeight, dpi);
    return CHECK_CALL(CreateFontIndirectA(&description));
}
