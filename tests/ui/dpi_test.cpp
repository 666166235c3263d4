// The pad window on screens of 150 and 200 %: sizes and fonts scaled, and pad files and settings
// keep 96-DPI units whatever the screen.
#include "pad_window_fixture.h"

#include <tuple>

TEST_F(PadWindowTest, AtAnyDpiSizesAreScaledAndThePadStoresTheSameUnits) {
    app->defaultWinWidth = app->defaultWinHeight = 300;  // 600 pixels at 200 %: within the test screen
    const struct {
        const char* name;
        int opened, moved;  // the DPI the window opens at, and one it is moved to (0: none)
        int outer, font;    // the window's width and height, the text font's height, in pixels
    } cases[] = {{"150 %", 144, 0, 450, 17}, {"moved to 200 %", 96, 192, 600, 22}};  // 16.5 rounds up
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        override_dpi(c.opened);  // the fixture ends it
        const std::string path = write_pad(std::string(c.name) + ".nib", {"x"});
        MainWindow* window = open(path);
        const int dpi = c.moved ? c.moved : c.opened;
        if (c.moved) {
            RECT suggested;
            GetWindowRect(window->hwnd, &suggested);
            suggested.right = suggested.left + c.outer;
            suggested.bottom = suggested.top + c.outer;
            SendMessageA(window->hwnd, WM_DPICHANGED, MAKEWPARAM(dpi, dpi), reinterpret_cast<LPARAM>(&suggested));
        }
        EXPECT_EQ(window->dpi, dpi);
        RECT outer;
        GetWindowRect(window->hwnd, &outer);
        EXPECT_TRUE(outer.right - outer.left == c.outer && outer.bottom - outer.top == c.outer);
        LOGFONTA font{};
        GetObjectA(window->textFont, sizeof font, &font);
        EXPECT_EQ(-font.lfHeight, c.font);

        window->padChanged = 1;
        command(window, CMD_SAVE);
        const PadFileHeader stored = PadFileReader(path).header();
        ASSERT_TRUE(stored.placement && stored.font);
        EXPECT_EQ(std::tuple(stored.placement->width, stored.placement->height, stored.font->size),
                  std::tuple(300, 300, 11));
        EXPECT_EQ(app->defaultWinWidth, 300) << "the setting too";
        close_all();
    }
}
