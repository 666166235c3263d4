#include "ui/about_window.h"

#include "harness/input.h"
#include "harness/window_test.h"

#include <gtest/gtest.h>

namespace {

using namespace std::chrono_literals;
using harness::MouseButton;

class AboutWindowTest : public harness::WindowTest {};

TEST_F(AboutWindowTest, ALeftOrRightClickOrAKeyClosesItAMiddleClickDoesNot) {
    const struct {
        std::function<void(HWND)> input;
        bool closes;
    } cases[] = {
        {[](HWND w) { harness::click(w, {190, 140}, MouseButton::left); }, true},
        {[](HWND w) { harness::click(w, {190, 140}, MouseButton::right); }, true},
        {[](HWND) { harness::press_key(VK_SPACE); }, true},
        {[](HWND w) { harness::click(w, {190, 140}, MouseButton::middle); }, false},
    };
    HWND other = (new AboutWindow)->hwnd;
    for (const auto& c : cases) {
        HWND window = (new AboutWindow)->hwnd;
        EXPECT_TRUE(harness::bring_to_front(window));
        c.input(window);
        EXPECT_EQ(harness::pump_until([window] { return !IsWindow(window); }, c.closes ? 3s : 500ms), c.closes);
        if (IsWindow(window)) DestroyWindow(window);
    }
    EXPECT_NE(Window::fromHandle(other), nullptr) << "closing one leaves the others";
    DestroyWindow(other);
    EXPECT_TRUE(windowMap.empty());
}

}  // namespace
