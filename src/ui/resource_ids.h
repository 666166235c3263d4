#pragma once
// Numbers of the program's resources, shared by resources/scrivel.rc and the code that loads them.
// Plain macros: the resource compiler reads this file too.

// Icon groups: the program's windows, and pad files in the shell.
#define IDI_PROGRAM 1
#define IDI_PAD_FILE 2

// Arrow-button images, 16 by 16. Odd numbers point left (previous), even ones right (next).
// The masks are monochrome: white where the arrow is, black where the button face shows.
// The same images drawn at 24 and 32 pixels for higher DPI follow at these numbers plus 20 and 30.
#define IDB_PREV_NORMAL 1
#define IDB_NEXT_NORMAL 2
#define IDB_PREV_PRESSED 3
#define IDB_NEXT_PRESSED 4
#define IDB_PREV_MASK 5
#define IDB_NEXT_MASK 6
#define IDB_PREV_DISABLED 7
#define IDB_NEXT_DISABLED 8
#define IDB_ARROWS_24 20
#define IDB_ARROWS_32 30

// The picture of the about window, 375 by 265, 256 colours.
#define IDB_ABOUT 11

// The Setup dialog of a first start, and its controls.
#define IDD_SETUP 11
#define IDC_SETUP_QUESTION 1001
#define IDC_SETUP_LATER 1002
#define IDC_SETUP_NEVER 1003
#define IDC_SETUP_ICON 1010
