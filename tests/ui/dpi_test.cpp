// The pad window on screens of 150 and 200 %: sizes and fonts scaled, and pad files and settings
// keep 96-DPI units whatever the screen.
#include "pad_window_fixture.h"

#include <tuple>

TEST_F(PadWindowTest, AtAnyDpiSizesAreScaledAndThePadStoresTheSameUnits) {
    app->defaultWinWidth = app->defaultWinHeight = 300;  // 600 pixels at 200 %: within the test screen
    override_dpi(144);  // the fixture ends it
    const std::string path = write_pad("dpi.nib", {"x"});
    MainWindow* window = open(path);
    // The window's width and height, and the text font's height, in pixels.
    const auto expect_scaled = [&](int dpi, int outer, int font) {
        EXPECT_EQ(window->dpi, dpi);
        RECT rect;
        GetWindowRect(window->hwnd, &rect);
        EXPECT_TRUE(rect.right - rect.left == outer && rect.bottom - rect.top == outer) << dpi;
        LOGFONTA logfont{};
        GetObjectA(window->textFont, sizeof logfont, &logfont);
        EXPECT_EQ(-logfont.lfHeight, font) << dpi;
    };
    expect_scaled(144, 450, 17);  // 16.5 rounds up
    RECT suggested;
    GetWindowRect(window->hwnd, &suggested);
    suggested.right = suggested.left + 600;
    suggested.bottom = suggested.top + 600;
    SendMessageA(window->hwnd, WM_DPICHANGED, MAKEWPARAM(192, 192), reinterpret_cast<LPARAM>(&suggested));
    expect_scaled(192, 600, 22);

    window->padChanged = 1;
    command(window, CMD_SAVE);
    const PadFileHeader stored = PadFileReader(path).header();
    ASSERT_TRUE(stored.placement && stored.font);
    EXPECT_EQ(std::tuple(stored.placement->width, stored.placement->height, stored.font->size),
              std::tuple(300, 300, 11));
    EXPECT_EQ(app->defaultWinWidth, 300) << "the setting too";
}
