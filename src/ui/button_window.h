#pragma once
// An owner-drawn arrow button of the main window. A quick double click counts as two presses.
#include "ui/window.h"

class ButtonWindow : public ControlWindow {
public:
    ButtonWindow(Window* parent, unsigned id);

    LRESULT handleMessage(UINT message, WPARAM wParam, LPARAM lParam) override;

    unsigned id;
};
