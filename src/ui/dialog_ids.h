#pragma once
// Numbers of the main window's dialogs and their controls, shared by resources/scrivel.rc and the
// dialog procedures. Plain macros: the resource compiler reads this file too.

#define IDD_SEPARATOR 10
#define IDC_SEPARATOR_TEXT 1000

#define IDD_OTHER_SETTINGS 12
#define IDC_CHANGE_REGISTRY 1004
#define IDC_AUTOSAVE 1005
