#pragma once
// Where the main window's controls go for a client size: plain arithmetic on the settings and the
// fonts' line heights, portable so that it is checked natively.
#include <cstdint>

struct ControlPlace {
    std::int32_t x, y, width, height;
    bool operator==(const ControlPlace&) const = default;
};

struct MainLayout {
    ControlPlace findField, textField, statusLabel, prevButton, nextButton;
};

// `margin` and `spacing` are the Window Margin and Field Spacing settings; `findLineHeight` and
// `labelLineHeight` are tmHeight + tmExternalLeading of the find font and of the bold label font.
MainLayout layout_main_window(std::int32_t clientWidth, std::int32_t clientHeight, std::int32_t margin,
                              std::int32_t spacing, std::int32_t findLineHeight, std::int32_t labelLineHeight);
