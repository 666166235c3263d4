#include "ui/window.h"

#include "harness/window_test.h"
#include "support/messages.h"

#include <gtest/gtest.h>

#include <stdexcept>
#include <vector>

namespace {

// Counts what happens to the test windows' objects.
struct Tally {
    int destroyed = 0;
    int freed = 0;
};
Tally tally;

constexpr const char* test_class = "ScrivelTestWindow";

void register_test_class() {
    static bool registered = false;
    if (registered) return;
    WNDCLASSEXA wc{};
    wc.cbSize = sizeof wc;
    wc.lpfnWndProc = Window::windowProc;
    wc.hInstance = GetModuleHandleA(nullptr);
    wc.hbrBackground = GetSysColorBrush(COLOR_WINDOW);
    wc.lpszClassName = test_class;
    ASSERT_NE(RegisterClassExA(&wc), 0);
    registered = true;
}

enum class Failure { none, in_create, after_create };

class TestWindow : public Window {
public:
    struct Seen {
        UINT message;
        bool bound;  // whether the object already knew its handle
        bool created;
    };

    explicit TestWindow(Failure failure = Failure::none, const char* title = "test") : Window(nullptr), failure(failure) {
        register_test_class();
        try {
            createWindow(0, test_class, title, WS_OVERLAPPEDWINDOW, 10, 10, 200, 100, nullptr);
            created = true;
            if (failure == Failure::after_create) throw msg_exception("late failure", "test", style_warning);
        } catch (...) {
            abandonWindow();
            throw;
        }
    }
    ~TestWindow() override { ++tally.destroyed; }

    static void operator delete(void* memory) {
        ++tally.freed;
        ::operator delete(memory);
    }

    LRESULT handleMessage(UINT message, WPARAM wParam, LPARAM lParam) override {
        seen.push_back({message, hwnd != nullptr && fromHandle(hwnd) == this, created});
        if (message == WM_CREATE && failure == Failure::in_create) return -1;
        return Window::handleMessage(message, wParam, lParam);
    }

    Failure failure;
    bool created = false;
    std::vector<Seen> seen;
};

class WindowFramework : public harness::WindowTest {
protected:
    void SetUp() override { tally = {}; }
    void TearDown() override {
        harness::WindowTest::TearDown();
        EXPECT_TRUE(windowMap.empty()) << windowMap.size() << " entries left in the window map";
    }
};

TEST_F(WindowFramework, CreationMessagesReachTheObjectBeforeCreateWindowReturns) {
    auto* window = new TestWindow;
    ASSERT_NE(window->hwnd, nullptr);
    EXPECT_EQ(Window::fromHandle(window->hwnd), window);
    EXPECT_EQ(Window::fromHandle(nullptr), nullptr) << "the entry of the window under construction stays behind";

    bool nccreate = false, create = false;
    for (const auto& seen : window->seen) {
        EXPECT_FALSE(seen.created) << "message " << seen.message << " came after CreateWindowExA returned";
        if (seen.created) break;
        EXPECT_TRUE(seen.bound) << "message " << seen.message << " before the object knew its handle";
        nccreate |= seen.message == WM_NCCREATE;
        create |= seen.message == WM_CREATE;
    }
    EXPECT_TRUE(nccreate);
    EXPECT_TRUE(create);
    DestroyWindow(window->hwnd);
}

TEST_F(WindowFramework, DestroyingTheWindowDeletesTheObjectOnce) {
    auto* window = new TestWindow;
    HWND handle = window->hwnd;
    ASSERT_TRUE(DestroyWindow(handle));
    EXPECT_EQ(tally.destroyed, 1);
    EXPECT_EQ(tally.freed, 1);
    EXPECT_EQ(Window::fromHandle(handle), nullptr);
    EXPECT_FALSE(IsWindow(handle));
}

TEST_F(WindowFramework, ConstructorFailingAfterItsWindowExistsFreesTheObjectOnce) {
    EXPECT_THROW(new TestWindow(Failure::after_create, "doomed"), msg_exception);
    // An unfinished object runs only its base destructors; its memory is freed by the new-expression.
    EXPECT_EQ(tally.destroyed, 0);
    EXPECT_EQ(tally.freed, 1);
    EXPECT_EQ(FindWindowA(test_class, "doomed"), nullptr) << "the half-made window is still there";
}

TEST_F(WindowFramework, WindowDestroyedDuringItsOwnCreationFailsTheConstructorOnce) {
    try {
        new TestWindow(Failure::in_create);
        ADD_FAILURE() << "the constructor did not throw";
    } catch (const msg_exception& e) {
        EXPECT_EQ(e.title, "Unexpected error");
    }
    EXPECT_EQ(tally.destroyed, 0);
    EXPECT_EQ(tally.freed, 1);
}

TEST_F(WindowFramework, ObjectsOfSeveralWindowsAreKeptApart) {
    auto* first = new TestWindow;
    auto* second = new TestWindow;
    HWND second_handle = second->hwnd;
    DestroyWindow(first->hwnd);
    EXPECT_EQ(tally.destroyed, 1);
    EXPECT_EQ(Window::fromHandle(second_handle), second);
    DestroyWindow(second_handle);
    EXPECT_EQ(tally.destroyed, 2);
}

TEST_F(WindowFramework, GetTextReadsTheWholeText) {
    auto* window = new TestWindow(Failure::none, "");
    std::string text = "stale";
    window->getText(text);
    EXPECT_EQ(text, "");
    const std::string long_title(3000, 'x');
    SetWindowTextA(window->hwnd, (long_title + "\xe9").c_str());
    window->getText(text);
    EXPECT_EQ(text, long_title + "\xe9");
    DestroyWindow(window->hwnd);
}

RECT work_area() {
    RECT area;
    SystemParametersInfoA(SPI_GETWORKAREA, 0, &area, 0);
    return area;
}

bool same(const RECT& a, const RECT& b) {
    return a.left == b.left && a.top == b.top && a.right == b.right && a.bottom == b.bottom;
}

TEST(FitToWorkArea, KeepsARectangleThatFitsAndMovesOneThatSticksOut) {
    const RECT area = work_area();
    RECT inside{area.left + 10, area.top + 10, area.left + 110, area.top + 60};
    const RECT unchanged = inside;
    Window::fitToWorkArea(inside);
    EXPECT_TRUE(same(inside, unchanged));

    RECT right_below{area.right - 50, area.bottom - 20, area.right + 150, area.bottom + 80};
    Window::fitToWorkArea(right_below);
    EXPECT_TRUE(same(right_below, RECT{area.right - 200, area.bottom - 100, area.right, area.bottom}));

    RECT left_above{area.left - 30, area.top - 40, area.left + 70, area.top + 10};
    Window::fitToWorkArea(left_above);
    EXPECT_TRUE(same(left_above, RECT{area.left, area.top, area.left + 100, area.top + 50}));
}

TEST(FitToWorkArea, ShrinksARectangleLargerThanTheWorkAreaToIt) {
    const RECT area = work_area();
    RECT huge{area.left - 500, area.top - 300, area.right + 900, area.bottom + 700};
    Window::fitToWorkArea(huge);
    EXPECT_TRUE(same(huge, area));

    // Too wide only: the height is kept and the rectangle moved inside.
    RECT wide{area.left - 5, area.bottom - 10, area.right + 5, area.bottom + 40};
    Window::fitToWorkArea(wide);
    EXPECT_TRUE(same(wide, RECT{area.left, area.bottom - 50, area.right, area.bottom}));
}

}  // namespace
