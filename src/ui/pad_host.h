#pragma once
// What a main window needs of the program around it: the settings it reads and changes, the shared
// fonts and bitmaps, the list of open main windows, and the opening of other pads. The
// application object is the one host; the window layer knows it only through this class, so that
// the dependencies run one way, from the application to the windows.
#include <windows.h>

#include <array>
#include <cstdint>
#include <string>
#include <vector>

class MainWindow;

class PadHost {
public:
    PadHost();
    virtual ~PadHost();
    PadHost(const PadHost&) = delete;
    PadHost& operator=(const PadHost&) = delete;

    // The window that shows the pad file, an existing one brought to the front or a new one.
    virtual HWND openPad(const std::string& path) = 0;
    // A new, empty pad window.
    virtual HWND newPad(int show) = 0;
    virtual void saveSettings() = 0;

    HINSTANCE instance = nullptr;
    // The main windows' class, menu and accelerator table name.
    std::string productName = "Scrivel";
    // Cuts texts into nibs on import and joins nibs on export; not kept in the registry.
    std::string separator = "\n\n" + std::string(30, '-') + "\n\n";
    // The pad file format version that pads write.
    std::int32_t fileVersion = 1000;
    std::string fontName = "MS Sans Serif";
    std::int32_t fontSize = 11;
    std::int32_t defaultWinHeight = 450;
    std::int32_t defaultWinWidth = 400;
    std::int32_t windowMargin = 7;
    std::int32_t fieldSpacing = 7;
    std::int32_t autosave = 1;
    // Whether a start repairs the registry entries of a program that has moved.
    std::int32_t changeRegistry = 1;
    // The quoted short paths of the pads closed since the last main window was made, each followed
    // by a blank; reopened at the next start without arguments.
    std::string restartCommand;
    // Described in 96-DPI units: each window makes its own copy at its DPI.
    HFONT boldFont = nullptr;
    HFONT normalFont = nullptr;
    // The arrow images, indexed by resource number: 1 to 8, 21 to 28 and 31 to 38.
    std::array<HBITMAP, 39> bitmaps{};
    // The open main windows in order of creation; they add and remove themselves.
    std::vector<MainWindow*> windows;
};

// The one host while it lives, else null.
extern PadHost* thePadHost;
