#pragma once
// The find field: a single-line edit whose every change the main window applies as a query. Enter
// shows the next found nib, Tab goes to the text field, Page Up and Page Down scroll the text field.
#include "ui/window.h"

class SearchWindow : public ControlWindow {
public:
    SearchWindow(Window* parent, Window* partner, int id);

    LRESULT handleMessage(UINT message, WPARAM wParam, LPARAM lParam) override;

    Window* partner;
};
