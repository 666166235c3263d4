#pragma once
// The main window's two small modal dialogs: the separator string asked before every import and
// export, and the other settings (Autosave and the registry repair at start-up).
// MainWindow::askSeparator (declared with MainWindow) runs the first.
#include <windows.h>

#include <exception>
#include <string>

// What a dialog and the code that runs it hand each other: the initialisation parameter of both
// dialog procedures. An error inside a dialog procedure cannot travel through the system's dialog
// code, so it is kept here and raised again once the dialog has ended.
struct DialogExchange {
    std::string text;
    std::exception_ptr error;
};

// The separator dialog: shows `text` for editing; OK puts the entered text there and ends with 1,
// Cancel ends with 0.
INT_PTR CALLBACK separatorDialogProc(HWND dialog, UINT message, WPARAM wParam, LPARAM lParam);

// The other settings dialog: ticks its boxes from the host's autosave and changeRegistry; OK sets
// them from the boxes and ends with 1, Cancel changes nothing and ends with 0.
INT_PTR CALLBACK otherSettingsDialogProc(HWND dialog, UINT message, WPARAM wParam, LPARAM lParam);

// Runs the other settings dialog over `owner`; true when the user pressed OK.
bool askOtherSettings(HWND owner);
