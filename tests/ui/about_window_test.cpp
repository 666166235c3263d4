#include "ui/about_window.h"

#include "harness/input.h"
#include "harness/pump.h"
#include "harness/window_test.h"
#include "ui/resource_ids.h"

#include <gtest/gtest.h>

#include <functional>

namespace {

using namespace std::chrono_literals;

class AboutWindowTest : public harness::WindowTest {
protected:
    void TearDown() override {
        harness::WindowTest::TearDown();
        EXPECT_TRUE(windowMap.empty());
    }
    static bool closes_on(HWND window, const std::function<void()>& input) {
        EXPECT_TRUE(harness::bring_to_front(window));
        input();
        return harness::pump_until([window] { return !IsWindow(window); }, 3s);
    }
    static POINT middle() { return {190, 140}; }
};

TEST_F(AboutWindowTest, OpensCentredWithItsTitleAndFrame) {
    HWND window = (new AboutWindow)->hwnd;
    char title[64] = {}, class_name[64] = {};
    GetWindowTextA(window, title, sizeof title);
    GetClassNameA(window, class_name, sizeof class_name);
    EXPECT_STREQ(title, "About Scrivel...");
    EXPECT_STREQ(class_name, "AboutWin");
    EXPECT_TRUE(IsWindowVisible(window));

    RECT outer;
    GetWindowRect(window, &outer);
    EXPECT_EQ(outer.right - outer.left, 395);
    EXPECT_EQ(outer.bottom - outer.top, 305);
    EXPECT_EQ(outer.left, GetSystemMetrics(SM_CXSCREEN) / 2 - 395 / 2);
    EXPECT_EQ(outer.top, GetSystemMetrics(SM_CYSCREEN) / 2 - 305 / 2);
    const LONG style = GetWindowLongA(window, GWL_STYLE);
    EXPECT_EQ(style & (WS_CAPTION | WS_SYSMENU), WS_CAPTION | WS_SYSMENU);
    EXPECT_EQ(style & WS_THICKFRAME, 0);
    DestroyWindow(window);
}

TEST_F(AboutWindowTest, PaintsThePictureSevenPixelsIn) {
    HWND window = (new AboutWindow)->hwnd;
    ASSERT_TRUE(harness::bring_to_front(window));
    harness::pump_for(200ms);

    HBITMAP picture = LoadBitmapA(GetModuleHandleA(nullptr), MAKEINTRESOURCEA(IDB_ABOUT));
    HDC screen = GetDC(window);
    HDC memory = CreateCompatibleDC(screen);
    HGDIOBJ old = SelectObject(memory, picture);
    int compared = 0, differing = 0;
    for (int y = 0; y < 265; y += 24)
        for (int x = 0; x < 375; x += 31, ++compared)
            if (GetPixel(memory, x, y) != GetPixel(screen, x + 7, y + 7)) ++differing;
    EXPECT_EQ(differing, 0) << "of " << compared << " pixels";
    EXPECT_EQ(GetPixel(screen, 3, 3), GetSysColor(COLOR_WINDOW)) << "the border around the picture";
    SelectObject(memory, old);
    DeleteDC(memory);
    ReleaseDC(window, screen);
    DeleteObject(picture);
    DestroyWindow(window);
}

TEST_F(AboutWindowTest, ALeftOrRightClickOrAKeyClosesIt) {
    HWND window = (new AboutWindow)->hwnd;
    EXPECT_TRUE(closes_on(window, [&] { harness::click(window, middle(), harness::MouseButton::left); }));

    window = (new AboutWindow)->hwnd;
    EXPECT_TRUE(closes_on(window, [&] { harness::click(window, middle(), harness::MouseButton::right); }));

    window = (new AboutWindow)->hwnd;
    EXPECT_TRUE(closes_on(window, [] { harness::press_key(VK_SPACE); }));
}

TEST_F(AboutWindowTest, AMiddleClickLeavesItOpen) {
    HWND window = (new AboutWindow)->hwnd;
    EXPECT_FALSE(closes_on(window, [&] { harness::click(window, middle(), harness::MouseButton::middle); }));
    EXPECT_TRUE(IsWindowVisible(window));
    DestroyWindow(window);
}

TEST_F(AboutWindowTest, ClosingOneOfTwoLeavesTheOther) {
    HWND first = (new AboutWindow)->hwnd;
    HWND second = (new AboutWindow)->hwnd;
    EXPECT_TRUE(closes_on(second, [&] { harness::click(second, middle()); }));
    EXPECT_TRUE(IsWindow(first));
    EXPECT_NE(Window::fromHandle(first), nullptr);
    DestroyWindow(first);
}

}  // namespace
