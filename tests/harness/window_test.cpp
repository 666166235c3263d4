#include "harness/window_test.h"

#include "harness/input.h"

namespace harness {

std::vector<HWND> thread_windows(DWORD thread) {
    std::vector<HWND> found;
    EnumThreadWindows(
        thread,
        [](HWND window, LPARAM list) -> BOOL {
            if (IsWindowVisible(window)) reinterpret_cast<std::vector<HWND>*>(list)->push_back(window);
            return TRUE;
        },
        reinterpret_cast<LPARAM>(&found));
    return found;
}

void WindowTest::TearDown() {
    const std::vector<HWND> left = thread_windows();
    EXPECT_EQ(left.size(), 0u) << "the test left windows open";
    // Owned windows go with their owners, so some handles are already gone when their turn comes.
    for (HWND window : left)
        if (IsWindow(window)) DestroyWindow(window);
    pump_for(0ms);
}

}  // namespace harness
