#include "ui/import_progress_window.h"

#include "ui/progress_window.h"

ImportProgressWindow::~ImportProgressWindow() { end(); }

void ImportProgressWindow::begin(const std::string& title, const std::string& label) {
    end();
    window = new ProgressWindow(title, label, font);
}

void ImportProgressWindow::report(double fraction) {
    if (window) window->setProgress(fraction);
}

void ImportProgressWindow::end() {
    if (!window) return;
    // Closing destroys the window, and the framework deletes the object with it.
    HWND shown = window->hwnd;
    window = nullptr;
    SendMessageA(shown, WM_CLOSE, 0, 0);
}
