// For the scripts that picture the program: waits until a visible top-level window of the given
// class is up and its pad shown, and prints its screen rectangle (left top width height).
// Exit status 1 when none came in time.
#include <windows.h>

#include <cstdio>
#include <cstdlib>

int main(int argc, char** argv) {
    if (argc < 2) {
        std::fprintf(stderr, "usage: window_rect CLASS [milliseconds]\n");
        return 2;
    }
    const DWORD patience = argc > 2 ? static_cast<DWORD>(std::atoi(argv[2])) : 30000;
    for (DWORD waited = 0; waited < patience; waited += 100, Sleep(100)) {
        HWND window = FindWindowA(argv[1], nullptr);
        if (!window || !IsWindowVisible(window)) continue;
        // A window is shown once its content is in place; give it a moment to paint.
        Sleep(500);
        RECT rect;
        GetWindowRect(window, &rect);
        std::printf("%ld %ld %ld %ld\n", rect.left, rect.top, rect.right - rect.left, rect.bottom - rect.top);
        return 0;
    }
    return 1;
}
