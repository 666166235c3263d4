#include "ui/layout.h"

#include <algorithm>

namespace {
constexpr std::int32_t button_width = 16;
constexpr std::int32_t least_button_height = 16;
}  // namespace

MainLayout layout_main_window(std::int32_t w, std::int32_t h, std::int32_t margin, std::int32_t spacing,
                              std::int32_t findLineHeight, std::int32_t labelLineHeight) {
    // The find field is half a line taller than its text; the buttons at least as high as their arrows.
    const std::int32_t find_height = findLineHeight * 3 / 2;
    const std::int32_t button_height = std::max(labelLineHeight, least_button_height);
    // The top two pixel rows hold the separator line painted under the menu.
    const std::int32_t find_top = margin + 2;
    const std::int32_t below_find = find_top + find_height;
    const std::int32_t bottom_row = h - margin - button_height;
    MainLayout layout;
    layout.findField = {margin, find_top, w - 2 * margin, find_height};
    layout.textField = {margin, below_find + spacing, w - 2 * margin, h - margin - button_height - below_find - 2 * spacing};
    layout.statusLabel = {margin, h - margin - labelLineHeight, w - 2 * margin - 2 * button_width - 2 * spacing,
                          labelLineHeight};
    layout.nextButton = {w - margin - button_width, bottom_row, button_width, button_height};
    layout.prevButton = {w - margin - 2 * button_width - spacing, bottom_row, button_width, button_height};
    return layout;
}
