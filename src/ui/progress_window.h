#pragma once
// A small window that shows how far a long operation has come. The operation runs on the same
// thread, so the window repaints itself at each change. Close it with WM_CLOSE; the framework
// then deletes the object.
#include "ui/window.h"

#include <string>

class ProgressWindow : public Window {
public:
    // Shows the window at once. `font` is the program's normal font (in 96-DPI units): the two
    // text lines get a copy at the screen's DPI. The caller keeps it.
    ProgressWindow(const std::string& title, const std::string& label, HFONT font);
    ~ProgressWindow() override;

    // `fraction` runs from 0 to 1; the window changes only when the whole percentage does.
    void setProgress(double fraction);

    HWND label = nullptr;
    HWND bar = nullptr;
    HWND percentLine = nullptr;
    HFONT textFont = nullptr;
    int shownPercent = 0;
};
