#include "ui/layout.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <utility>
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
        const MainLayout l = layout_main_window(c.width, c.height, c.margin, c.spacing, c.findLine, c.labelLine, 96);
        EXPECT_EQ((std::vector<ControlPlace>{l.findField, l.textField, l.statusLabel, l.prevButton, l.nextButton}), c.places)
            << c.width << "x" << c.height;
    }
}

TEST(MainWindowLayout, EverySizeScalesWithTheDpiAndStoredSizesComeBackTheSame) {
    const MainLayout at96 = layout_main_window(400, 300, 7, 7, 16, 14, 96);
    for (const std::int32_t dpi : {144, 192}) {
        SCOPED_TRACE(dpi);
        const auto f = [dpi](std::int32_t v) { return v * dpi / 96; };
        const MainLayout got = layout_main_window(f(400), f(300), 7, 7, f(16), f(14), dpi);
        for (const auto control : {&MainLayout::findField, &MainLayout::textField, &MainLayout::statusLabel,
                                   &MainLayout::prevButton, &MainLayout::nextButton}) {
            // Odd margins and spacings at 150 % round up at each of their steps: two pixels at most.
            const ControlPlace &a = at96.*control, &b = got.*control;
            for (const auto [scaled, unscaled] :
                 {std::pair{b.x, a.x}, {b.y, a.y}, {b.width, a.width}, {b.height, a.height}})
                EXPECT_LE(std::abs(scaled - f(unscaled)), 2) << scaled << " for " << unscaled;
        }
        for (const std::int32_t stored : {-1200, 7, 11, 400, 450})
            EXPECT_EQ(to_units(to_pixels(stored, dpi), dpi), stored);
    }
    EXPECT_EQ(arrow_image_size(96) * 100 + arrow_image_size(144), 1624) << "16 at 100 %, 24 at 150 %";
    EXPECT_EQ(arrow_image_size(120) * 100 + arrow_image_size(192), 1632) << "16 at 125 %, 32 at 200 %";
}
