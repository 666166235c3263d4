#pragma once
// Where the main window's controls go for a client size: plain arithmetic on the settings, the
// fonts' line heights and the screen's DPI, portable so that it is checked natively.
#include <cstdint>

struct ControlPlace {
    std::int32_t x, y, width, height;
    bool operator==(const ControlPlace&) const = default;
};

struct MainLayout {
    ControlPlace findField, textField, statusLabel, prevButton, nextButton;
};

// The pixels at `dpi` of a size in 96-DPI units, the units in which pad files and settings keep
// sizes; and back. Rounded to the nearest, so that a size stored again at 96 DPI or more is the same.
std::int32_t to_pixels(std::int32_t units, std::int32_t dpi);
std::int32_t to_units(std::int32_t pixels, std::int32_t dpi);

// The width of an arrow button at `dpi`, and the largest arrow image (16, 24 or 32 pixels) that fits it.
std::int32_t arrow_button_width(std::int32_t dpi);
std::int32_t arrow_image_size(std::int32_t dpi);

// `margin` and `spacing` are the Window Margin and Field Spacing settings (in 96-DPI units);
// `findLineHeight` and `labelLineHeight` are tmHeight + tmExternalLeading of the find font and of
// the bold label font, in pixels.
MainLayout layout_main_window(std::int32_t clientWidth, std::int32_t clientHeight, std::int32_t margin,
                              std::int32_t spacing, std::int32_t findLineHeight, std::int32_t labelLineHeight,
                              std::int32_t dpi);
