// Shows one of the program's simple windows for tools/screenshots: "about", or "progress" at 42 %.
// Prints the window's screen rectangle (left top width height) and keeps it up for a few seconds.
#include "ui/about_window.h"
#include "ui/progress_window.h"
#include "support/texts.h"

#include <cstdio>
#include <cstdlib>
#include <cstring>

int main(int argc, char** argv) {
    if (argc < 2 || (std::strcmp(argv[1], "about") != 0 && std::strcmp(argv[1], "progress") != 0)) {
        std::fprintf(stderr, "usage: window_gallery about|progress [milliseconds]\n");
        return 2;
    }
    const DWORD show_for = argc > 2 ? static_cast<DWORD>(std::atoi(argv[2])) : 4000;
    HFONT font = CreateFontA(-11, 0, 0, 0, FW_NORMAL, 0, 0, 0, ANSI_CHARSET, 0, 0, 0, 0, "MS Sans Serif");
    HWND window;
    if (std::strcmp(argv[1], "about") == 0) {
        window = (new AboutWindow)->hwnd;
    } else {
        auto* progress = new ProgressWindow(texts.importing_title, texts.importing_label, font);
        progress->setProgress(0.42);
        window = progress->hwnd;
    }
    SetForegroundWindow(window);
    RECT rect;
    GetWindowRect(window, &rect);
    std::printf("%ld %ld %ld %ld\n", rect.left, rect.top, rect.right - rect.left, rect.bottom - rect.top);
    std::fflush(stdout);

    // A thread timer: its message has no window.
    SetTimer(nullptr, 0, show_for, nullptr);
    MSG msg;
    while (GetMessageA(&msg, nullptr, 0, 0) > 0 && !(msg.message == WM_TIMER && !msg.hwnd)) DispatchMessageA(&msg);
    DestroyWindow(window);
    DeleteObject(font);
    return 0;
}
