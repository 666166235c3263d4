#include "ui/progress_window.h"

#include "harness/window_test.h"
#include "support/texts.h"

#include <commctrl.h>
#include <gtest/gtest.h>

#include <limits>

namespace {

class ProgressWindowTest : public harness::WindowTest {};

TEST_F(ProgressWindowTest, ShowsTheTruncatedPercentageWithinTheRange) {
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
    const double nan = std::numeric_limits<double>::quiet_NaN(), inf = std::numeric_limits<double>::infinity();
    // Outside the range (or not a number) the nearest end shows. Each row changes what is shown,
    // since an unchanged percentage is not set again.
    const struct {
        double fraction;
        int percent;
    } cases[] = {{0.429, 42}, {nan, 0}, {0.29, 28} /* 28.999... */, {inf, 100}, {-3.0, 0}, {7.5, 100}};
    for (const auto& c : cases) {
        window->setProgress(c.fraction);
        EXPECT_EQ(line(), std::to_string(c.percent) + " % done") << c.fraction;
        EXPECT_EQ(SendMessageA(window->bar, PBM_GETPOS, 0, 0), c.percent) << c.fraction;
    }
    // Closing destroys the window and, with it, the object.
    SendMessageA(handle, WM_CLOSE, 0, 0);
    EXPECT_FALSE(IsWindow(handle));
    EXPECT_TRUE(windowMap.empty());
}

}  // namespace
