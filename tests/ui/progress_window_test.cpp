#include "ui/progress_window.h"

#include "harness/window_test.h"
#include "support/texts.h"

#include <commctrl.h>
#include <gtest/gtest.h>

#include <limits>

namespace {

// Counts the texts set on the percent line, through a procedure put in front of the control's own.
int texts_set = 0;
WNDPROC line_procedure = nullptr;
LRESULT CALLBACK counting_line(HWND w, UINT m, WPARAM wp, LPARAM lp) {
    texts_set += m == WM_SETTEXT;
    return CallWindowProcA(line_procedure, w, m, wp, lp);
}

class ProgressWindowTest : public harness::WindowTest {};

TEST_F(ProgressWindowTest, ShowsTheTruncatedPercentageAndRedrawsOnlyWhenItChanges) {
    auto* window = new ProgressWindow(texts.importing_title, texts.importing_label,
                                      static_cast<HFONT>(GetStockObject(DEFAULT_GUI_FONT)));
    const HWND handle = window->hwnd;
    const auto line = [window] {
        char text[64] = {};
        GetWindowTextA(window->percentLine, text, sizeof text);
        return std::string(text);
    };
    EXPECT_TRUE(IsWindowVisible(handle));
    EXPECT_EQ(line(), "0 % done");
    line_procedure = reinterpret_cast<WNDPROC>(
        SetWindowLongPtrA(window->percentLine, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(&counting_line)));
    const double nan = std::numeric_limits<double>::quiet_NaN(), inf = std::numeric_limits<double>::infinity();
    // Outside the range (or not a number) the nearest end shows.
    const struct {
        double fraction;
        int percent;
        bool redrawn;
    } cases[] = {{0.421, 42, true}, {0.429, 42, false}, {0.999, 99, true}, {0.29, 28, true} /* 28.999... */,
                 {1.0, 100, true},  {7.5, 100, false},  {-3.0, 0, true},   {0.004, 0, false},
                 {0.5, 50, true},   {nan, 0, true},     {inf, 100, true}};
    for (const auto& c : cases) {
        texts_set = 0;
        window->setProgress(c.fraction);
        EXPECT_EQ(line(), std::to_string(c.percent) + " % done") << c.fraction;
        EXPECT_EQ(SendMessageA(window->bar, PBM_GETPOS, 0, 0), c.percent) << c.fraction;
        EXPECT_EQ(texts_set, c.redrawn ? 1 : 0) << c.fraction;
    }
    // Closing destroys the window and, with it, the object.
    SendMessageA(handle, WM_CLOSE, 0, 0);
    EXPECT_FALSE(IsWindow(handle));
    EXPECT_TRUE(windowMap.empty());
}

}  // namespace
