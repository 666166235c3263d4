#include "ui/layout.h"

#include <algorithm>

namespace {

constexpr std::int32_t standard_dpi = 96;
constexpr std::int32_t button_width = 16;
constexpr std::int32_t least_button_height = 16;

// value * numerator / denominator, rounded half away from zero, without overflow.
std::int32_t mul_div(std::int32_t value, std::int32_t numerator, std::int32_t denominator) {
    const long long product = static_cast<long long>(value) * numerator;
    const long long half = denominator / 2;
    return static_cast<std::int32_t>((product >= 0 ? product + half : product - half) / denominator);
}

}  // namespace

std::int32_t to_pixels(std::int32_t units, std::int32_t dpi) { return mul_div(units, dpi, standard_dpi); }

std::int32_t to_units(std::int32_t pixels, std::int32_t dpi) { return mul_div(pixels, standard_dpi, dpi); }

std::int32_t arrow_button_width(std::int32_t dpi) { return to_pixels(button_width, dpi); }

std::int32_t arrow_image_size(std::int32_t dpi) {
    // Drawn at their own size, never stretched: a stretched arrow is blurred or jagged.
    const std::int32_t width = arrow_button_width(dpi);
    return width >= 32 ? 32 : width >= 24 ? 24 : 16;
}

MainLayout layout_main_window(std::int32_t w, std::int32_t h, std::int32_t margin96, std::int32_t spacing96,
                              std::int32_t findLineHeight, std::int32_t labelLineHeight, std::int32_t dpi) {
    const std::int32_t margin = to_pixels(margin96, dpi), spacing = to_pixels(spacing96, dpi);
    const std::int32_t buttonWidth = arrow_button_width(dpi);
    // The find field is half a line taller than its text; the buttons at least as high as their arrows.
    const std::int32_t find_height = findLineHeight * 3 / 2;
    const std::int32_t button_height = std::max(labelLineHeight, to_pixels(least_button_height, dpi));
    // The top rows hold the separator line painted under the menu.
    const std::int32_t find_top = margin + to_pixels(2, dpi);
    const std::int32_t below_find = find_top + find_height;
    const std::int32_t bottom_row = h - margin - button_height;
    MainLayout layout;
    layout.findField = {margin, find_top, w - 2 * margin, find_height};
    layout.textField = {margin, below_find + spacing, w - 2 * margin, h - margin - button_height - below_find - 2 * spacing};
    layout.statusLabel = {margin, h - margin - labelLineHeight, w - 2 * margin - 2 * buttonWidth - 2 * spacing,
                          labelLineHeight};
    layout.nextButton = {w - margin - buttonWidth, bottom_row, buttonWidth, button_height};
    layout.prevButton = {w - margin - 2 * buttonWidth - spacing, bottom_row, buttonWidth, button_height};
    return layout;
}
