#include "ui/window.h"

#include "harness/window_test.h"
#include "support/messages.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <vector>

namespace {

// What happened to the test windows' objects.
struct Tally {
    int destroyed = 0;
    int freed = 0;
} tally;

constexpr const char* test_class = "ScrivelTestWindow";

enum class Failure { none, in_create, after_create };

class TestWindow : public Window {
public:
    explicit TestWindow(Failure failure = Failure::none) : Window(nullptr), failure(failure) {
        registerClass(test_class, COLOR_WINDOW);
        try {
            createWindow(0, test_class, "test", WS_OVERLAPPEDWINDOW, 10, 10, 200, 100, nullptr);
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
        if (!created) early.push_back(message);
        if (!hwnd || fromHandle(hwnd) != this) ++unbound;
        if (message == WM_CREATE && failure == Failure::in_create) return -1;
        return Window::handleMessage(message, wParam, lParam);
    }

    Failure failure;
    bool created = false;
    std::vector<UINT> early;  // the messages that came before CreateWindowExA returned
    int unbound = 0;          // the messages that came before the object knew its handle
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
    EXPECT_EQ(window->unbound, 0);
    EXPECT_NE(std::find(window->early.begin(), window->early.end(), WM_NCCREATE), window->early.end());
    EXPECT_NE(std::find(window->early.begin(), window->early.end(), WM_CREATE), window->early.end());

    std::string text;
    const std::string long_title = std::string(3000, 'x') + "\xe9";
    SetWindowTextA(window->hwnd, long_title.c_str());
    window->getText(text);
    EXPECT_EQ(text, long_title);
    DestroyWindow(window->hwnd);
}

TEST_F(WindowFramework, EachDestroyedWindowDeletesItsOwnObjectOnce) {
    auto* first = new TestWindow;
    auto* second = new TestWindow;
    HWND first_handle = first->hwnd, second_handle = second->hwnd;
    ASSERT_TRUE(DestroyWindow(first_handle));
    EXPECT_EQ(tally.destroyed, 1);
    EXPECT_EQ(tally.freed, 1);
    EXPECT_EQ(Window::fromHandle(first_handle), nullptr);
    EXPECT_EQ(Window::fromHandle(second_handle), second);
    DestroyWindow(second_handle);
    EXPECT_EQ(tally.destroyed, 2);
}

TEST_F(WindowFramework, ConstructorFailingWithItsWindowFreesTheObjectOnce) {
    // An unfinished object runs only its base destructors; its memory is freed by the new-expression.
    for (Failure failure : {Failure::after_create, Failure::in_create}) {
        tally = {};
        try {
            new TestWindow(failure);
            ADD_FAILURE() << "the constructor did not throw";
        } catch (const msg_exception& e) {
            EXPECT_EQ(e.title, failure == Failure::in_create ? "Unexpected error" : "test");
        }
        EXPECT_EQ(tally.destroyed, 0);
        EXPECT_EQ(tally.freed, 1);
        EXPECT_EQ(FindWindowA(test_class, nullptr), nullptr) << "the half-made window is still there";
    }
}

TEST(FitToWorkArea, MovesThenShrinksIntoTheWorkArea) {
    RECT a;
    SystemParametersInfoA(SPI_GETWORKAREA, 0, &a, 0);
    const struct {
        RECT given, fitted;
    } cases[] = {
        {{a.left + 10, a.top + 10, a.left + 110, a.top + 60}, {a.left + 10, a.top + 10, a.left + 110, a.top + 60}},
        {{a.right - 50, a.bottom - 20, a.right + 150, a.bottom + 80}, {a.right - 200, a.bottom - 100, a.right, a.bottom}},
        {{a.left - 30, a.top - 40, a.left + 70, a.top + 10}, {a.left, a.top, a.left + 100, a.top + 50}},
        {{a.left - 500, a.top - 300, a.right + 900, a.bottom + 700}, a},
        // Too wide only: the height is kept.
        {{a.left - 5, a.bottom - 10, a.right + 5, a.bottom + 40}, {a.left, a.bottom - 50, a.right, a.bottom}},
    };
    for (const auto& c : cases) {
        RECT r = c.given;
        Window::fitToWorkArea(r);
        EXPECT_TRUE(EqualRect(&r, &c.fitted)) << r.left << "," << r.top << "," << r.right << "," << r.bottom;
    }
}

}  // namespace
