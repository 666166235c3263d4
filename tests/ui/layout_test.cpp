#include "ui/layout.h"

#include <gtest/gtest.h>

#include <vector>

TEST(MainWindowLayout, PlacesEveryControlFromTheMarginsSpacingAndLineHeights) {
    const struct {
        std::int32_t width, height, margin, spacing, findLine, labelLine;
        std::vector<ControlPlace> places;  // find field, text field, label, previous and next button
    } cases[] = {
        {400, 300, 7, 7, 16, 13, {{7, 9, 386, 24}, {7, 40, 386, 230}, {7, 280, 340, 13}, {354, 277, 16, 16}, {377, 277, 16, 16}}},
        // a tall label font makes the buttons as high as a label line
        {400, 300, 7, 7, 16, 20, {{7, 9, 386, 24}, {7, 40, 386, 226}, {7, 273, 340, 20}, {354, 273, 16, 20}, {377, 273, 16, 20}}},
        // an odd line height is cut, not rounded; other margins and spacings
        {200, 100, 0, 3, 15, 10, {{0, 2, 200, 22}, {0, 27, 200, 54}, {0, 90, 162, 10}, {165, 84, 16, 16}, {184, 84, 16, 16}}},
        // a minimised window lays out with negative sizes
        {0, 0, 7, 7, 16, 13, {{7, 9, -14, 24}, {7, 40, -14, -70}, {7, -20, -60, 13}, {-46, -23, 16, 16}, {-23, -23, 16, 16}}},
    };
    for (const auto& c : cases) {
        const MainLayout l = layout_main_window(c.width, c.height, c.margin, c.spacing, c.findLine, c.labelLine);
        EXPECT_EQ((std::vector<ControlPlace>{l.findField, l.textField, l.statusLabel, l.prevButton, l.nextButton}), c.places)
            << c.width << "x" << c.height;
    }
}
