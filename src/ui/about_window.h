#pragma once
// The window of Help > About: the about picture, closed by the first click or key press in it.
// Make it with new and keep no pointer: the window owns the object.
#include "ui/window.h"

class AboutWindow : public Window {
public:
    AboutWindow();
    ~AboutWindow() override;

    LRESULT handleMessage(UINT message, WPARAM wParam, LPARAM lParam) override;

    HBITMAP picture = nullptr;
    // The screen's DPI when the window opened: the picture and the window are enlarged by it.
    int dpi = 96;
};
