#include "ui/layout.h"

#include <gtest/gtest.h>

#include <utility>
#include <vector>

TEST(MainWindowLayout, PlacesEveryControlFromTheMarginsSpacingLineHeightsAndDpi) {
    const struct {
        std::int32_t width, height, margin, spacing, findLine, labelLine, dpi;
        std::vector<ControlPlace> places;  // find field, text field, label, previous and next button
    } cases[] = {
        {400, 300, 7, 7, 16, 13, 96, {{7, 9, 386, 24}, {7, 40, 386, 230}, {7, 280, 340, 13}, {354, 277, 16, 16}, {377, 277, 16, 16}}},
        // a tall label font makes the buttons as high as a label line
        {400, 300, 7, 7, 16, 20, 96, {{7, 9, 386, 24}, {7, 40, 386, 226}, {7, 273, 340, 20}, {354, 273, 16, 20}, {377, 273, 16, 20}}},
        // an odd line height is cut, not rounded; other margins and spacings
        {200, 100, 0, 3, 15, 10, 96, {{0, 2, 200, 22}, {0, 27, 200, 54}, {0, 90, 162, 10}, {165, 84, 16, 16}, {184, 84, 16, 16}}},
        // at 150 % a margin and spacing of 10.5 pixels round up to 11
        {600, 450, 7, 7, 24, 21, 144, {{11, 14, 578, 36}, {11, 61, 578, 343}, {11, 418, 508, 21}, {530, 415, 24, 24}, {565, 415, 24, 24}}},
    };
    for (const auto& c : cases) {
        const MainLayout l = layout_main_window(c.width, c.height, c.margin, c.spacing, c.findLine, c.labelLine, c.dpi);
        EXPECT_EQ((std::vector<ControlPlace>{l.findField, l.textField, l.statusLabel, l.prevButton, l.nextButton}), c.places)
            << c.width << "x" << c.height;
    }
}

TEST(MainWindowLayout, StoredSizesComeBackTheSameAndArrowsComeInThreeSizes) {
    for (const std::int32_t dpi : {144, 192})
        for (const std::int32_t stored : {-1200, 7, 11, 400, 450})
            EXPECT_EQ(to_units(to_pixels(stored, dpi), dpi), stored) << dpi;
    for (const auto& [dpi, size] : {std::pair{96, 16}, {120, 16}, {144, 24}, {192, 32}})
        EXPECT_EQ(arrow_image_size(dpi), size) << dpi;
}
