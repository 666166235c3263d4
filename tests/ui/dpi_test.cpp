// The pad window on screens of 100, 150 and 200 %: everything in proportion, and pad files and
// settings keep 96-DPI units whatever the screen.
#include "pad_window_fixture.h"

#include <array>
#include <cstdlib>
#include <tuple>

namespace {

int font_height(HFONT font) {
    LOGFONTA made{};
    GetObjectA(font, sizeof made, &made);
    return std::abs(made.lfHeight);
}

}  // namespace

TEST_F(PadWindowTest, AtEveryDpiSizesAreInProportionAndThePadStoresTheSameUnits) {
    app->defaultWinWidth = app->defaultWinHeight = 300;  // 600 pixels at 200 %: within the test screen
    const struct {
        const char* name;
        int opened, moved;  // the DPI the window opens at, and one it is moved to (0: none)
    } cases[] = {{"100 %", 96, 0}, {"150 %", 144, 0}, {"200 %", 192, 0}, {"moved to 200 %", 96, 192}};
    std::array<int, 7> at96{};
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        override_dpi(c.opened);  // the fixture ends it
        const std::string path = write_pad(std::string(c.name) + ".nib", {"x"});
        MainWindow* window = open(path);
        const int dpi = c.moved ? c.moved : c.opened;
        if (c.moved) {
            RECT suggested;
            GetWindowRect(window->hwnd, &suggested);
            suggested.right = suggested.left + 600;
            suggested.bottom = suggested.top + 600;
            SendMessageA(window->hwnd, WM_DPICHANGED, MAKEWPARAM(dpi, dpi), reinterpret_cast<LPARAM>(&suggested));
        }
        const SIZE outer = size_of(window->hwnd);
        const std::array<int, 7> seen = {outer.cx, outer.cy, size_of(window->findField->hwnd).cy,
                                         size_of(window->nextButton).cx, font_height(window->textFont),
                                         font_height(window->labelFont), window->dpi};
        if (dpi == 96) at96 = seen;
        // Fonts come in whole pixels, and the find field is one and a half lines: two pixels at most.
        for (std::size_t i = 0; i < seen.size(); ++i)
            EXPECT_LE(std::abs(seen[i] - at96[i] * dpi / 96), 2) << "measure " << i << ": " << seen[i] << " at96 "
                                                                  << at96[i];

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
