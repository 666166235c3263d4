// Not a test: the other process of the window tests. Sends one WM_COPYDATA to the window whose
// handle is its argument, as a second copy of the program hands over its command line.
#include <windows.h>

#include <cstdint>
#include <cstdlib>

int main(int argc, char** argv) {
    if (argc != 2) return 2;
    HWND target = reinterpret_cast<HWND>(static_cast<std::uintptr_t>(std::strtoull(argv[1], nullptr, 10)));
    char text[] = "hand-over";
    COPYDATASTRUCT record{1, sizeof text, text};
    DWORD_PTR answer = 0;
    const LRESULT sent = SendMessageTimeoutA(target, WM_COPYDATA, 0, reinterpret_cast<LPARAM>(&record),
                                             SMTO_ABORTIFHUNG, 15000, &answer);
    return sent ? 0 : 1;
}
