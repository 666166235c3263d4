#include "ui/progress_window.h"

#include "support/texts.h"

#include "harness/window_test.h"

#include <commctrl.h>
#include <gtest/gtest.h>

#include <limits>

namespace {

std::string text_of(HWND window) {
    char buffer[256] = {};
    GetWindowTextA(window, buffer, sizeof buffer);
    return buffer;
}

std::string class_of(HWND window) {
    char buffer[64] = {};
    GetClassNameA(window, buffer, sizeof buffer);
    return buffer;
}

// Counts the text changes of the percent line and the position changes of the bar, by putting a
// counting procedure in front of each control's own.
struct ChangeCounter {
    static inline int texts = 0;
    static inline int positions = 0;
    static inline WNDPROC old_line = nullptr;
    static inline WNDPROC old_bar = nullptr;

    static LRESULT CALLBACK line(HWND w, UINT m, WPARAM wp, LPARAM lp) {
        if (m == WM_SETTEXT) ++texts;
        return CallWindowProcA(old_line, w, m, wp, lp);
    }
    static LRESULT CALLBACK bar(HWND w, UINT m, WPARAM wp, LPARAM lp) {
        if (m == PBM_SETPOS) ++positions;
        return CallWindowProcA(old_bar, w, m, wp, lp);
    }
    explicit ChangeCounter(ProgressWindow& window) {
        texts = positions = 0;
        old_line = reinterpret_cast<WNDPROC>(
            SetWindowLongPtrA(window.percentLine, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(&line)));
        old_bar = reinterpret_cast<WNDPROC>(SetWindowLongPtrA(window.bar, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(&bar)));
    }
};

class ProgressWindowTest : public harness::WindowTest {
protected:
    void SetUp() override {
        font = CreateFontA(-11, 0, 0, 0, FW_NORMAL, 0, 0, 0, ANSI_CHARSET, 0, 0, 0, 0, "MS Sans Serif");
        window = new ProgressWindow(texts.importing_title, texts.importing_label, font);
        window_handle = window->hwnd;
    }
    void TearDown() override {
        if (IsWindow(window_handle)) SendMessageA(window_handle, WM_CLOSE, 0, 0);
        harness::WindowTest::TearDown();
        EXPECT_TRUE(windowMap.empty());
        DeleteObject(font);
    }
    int bar_position() const { return static_cast<int>(SendMessageA(window->bar, PBM_GETPOS, 0, 0)); }

    HFONT font = nullptr;
    ProgressWindow* window = nullptr;
    HWND window_handle = nullptr;
};

TEST_F(ProgressWindowTest, OpensVisibleWithItsTextsAndAnEmptyBar) {
    EXPECT_EQ(class_of(window->hwnd), "ProgrWin");
    EXPECT_TRUE(IsWindowVisible(window->hwnd));
    EXPECT_EQ(text_of(window->hwnd), "Importing...");
    EXPECT_EQ(text_of(window->label), "Importing text");
    EXPECT_EQ(text_of(window->percentLine), "0 % done");
    EXPECT_EQ(class_of(window->bar), "msctls_progress32");
    EXPECT_EQ(bar_position(), 0);
    EXPECT_EQ(SendMessageA(window->bar, PBM_GETRANGE, FALSE, 0), 100);
    EXPECT_EQ(reinterpret_cast<HFONT>(SendMessageA(window->label, WM_GETFONT, 0, 0)), font);
    EXPECT_EQ(reinterpret_cast<HFONT>(SendMessageA(window->percentLine, WM_GETFONT, 0, 0)), font);
    EXPECT_EQ(GetWindow(window->hwnd, GW_OWNER), nullptr);

    RECT outer;
    GetWindowRect(window->hwnd, &outer);
    EXPECT_EQ(outer.right - outer.left, 165);
    EXPECT_EQ(outer.bottom - outer.top, 95);
    const LONG style = GetWindowLongA(window->hwnd, GWL_STYLE);
    EXPECT_EQ(style & WS_SYSMENU, 0) << "the window has no close box";
}

TEST_F(ProgressWindowTest, ShowsTheTruncatedPercentage) {
    window->setProgress(0.42);
    EXPECT_EQ(text_of(window->percentLine), "42 % done");
    EXPECT_EQ(bar_position(), 42);
    window->setProgress(0.999);
    EXPECT_EQ(text_of(window->percentLine), "99 % done");
    window->setProgress(0.29);  // 28.999... in double precision
    EXPECT_EQ(text_of(window->percentLine), "28 % done");
    window->setProgress(1.0);
    EXPECT_EQ(text_of(window->percentLine), "100 % done");
    EXPECT_EQ(bar_position(), 100);
}

TEST_F(ProgressWindowTest, ChangesOnlyWhenTheWholePercentageDoes) {
    ChangeCounter counter(*window);
    window->setProgress(0.421);
    window->setProgress(0.429);
    EXPECT_EQ(ChangeCounter::texts, 1);
    EXPECT_EQ(ChangeCounter::positions, 1);
    window->setProgress(0.004);
    EXPECT_EQ(ChangeCounter::texts, 2) << "0 differs from 42";
    window->setProgress(0.0);
    EXPECT_EQ(ChangeCounter::texts, 2);
}

TEST_F(ProgressWindowTest, FractionsOutsideTheRangeShowTheNearestEnd) {
    window->setProgress(7.5);
    EXPECT_EQ(text_of(window->percentLine), "100 % done");
    window->setProgress(-3.0);
    EXPECT_EQ(text_of(window->percentLine), "0 % done");
    window->setProgress(0.5);
    window->setProgress(std::numeric_limits<double>::quiet_NaN());
    EXPECT_EQ(text_of(window->percentLine), "0 % done");
    window->setProgress(std::numeric_limits<double>::infinity());
    EXPECT_EQ(bar_position(), 100);
}

TEST_F(ProgressWindowTest, ClosingDestroysWindowAndObject) {
    HWND handle = window->hwnd;
    SendMessageA(handle, WM_CLOSE, 0, 0);
    EXPECT_FALSE(IsWindow(handle));
    EXPECT_EQ(Window::fromHandle(handle), nullptr);
}

}  // namespace
