#pragma once
// The one application object: the settings, the shared fonts and bitmaps, the list of open main
// windows, and the message loop that runs the program.
#include "support/util.h"

#include <windows.h>

#include <array>
#include <cstdint>
#include <string>
#include <vector>

class MainWindow;

// Where the settings live in the per-user registry.
inline constexpr const char* settings_key_path = "HKEY_CURRENT_USER\\Software\\Velmoran\\Scrivel\\";

class Application {
public:
    explicit Application(HINSTANCE instance);
    // Releases the fonts and bitmaps; never writes the settings (see shutdown).
    ~Application();
    Application(const Application&) = delete;
    Application& operator=(const Application&) = delete;

    // Runs the program: the command line (the Restart Command when it is empty) and then the
    // message loop until the last main window is gone. Returns the quit message's wParam.
    int run(std::string commandLine, int show);

    // The end of a working copy's run: releases the graphics and writes the settings unless the
    // user removed them. Called before the object is destroyed, so that a refused registry write
    // reaches the caller as an exception instead of escaping a destructor.
    void shutdown();

    // The arguments of a start: the command line split, or the Restart Command when a working
    // copy is started without arguments.
    std::vector<std::string> startArguments(std::string commandLine) const;

    // Dispatches messages until the quit message; shows every msg_exception that a message
    // handler lets through and goes on. Ends once no main window is left.
    int messageLoop();

    // The command line and the hand-over to a running copy (command_line.cpp).
    // Opens the pads named, applies the switches "/f", "/s", "/q" and "/u", and opens the default
    // pad (or, in a forwarding copy, a new pad of the running copy) when nothing else was opened.
    void processArguments(const std::vector<std::string>& arguments, int show);
    // The window that shows the pad file: one that already does, brought to the front, or a new
    // one. A forwarding copy asks the running copy instead.
    HWND openPad(const std::string& path);
    // A new, empty pad window.
    HWND newPad(int show);
    // Sends one WM_COPYDATA request to `window` and returns its answer.
    LRESULT sendCopyData(HWND window, std::uintptr_t code, const std::string& text);
    // Removes the program's registry entries and shortcuts ("/u"); the settings are not written back.
    void uninstall();

    void loadSettings();
    void saveSettings();

    void createGraphics();
    void deleteGraphics();

    HINSTANCE instance;
    std::string productName;
    std::string separator;
    std::int32_t fileVersion;
    std::string fontName;
    std::int32_t fontSize;
    std::int32_t defaultWinHeight;
    std::int32_t defaultWinWidth;
    std::int32_t windowMargin;
    std::int32_t fieldSpacing;
    std::int32_t changeRegistry;
    std::string matchFontName;
    std::int32_t matchFontSize;
    std::int32_t autosave;
    DirectorySlots defaultDirectories;
    std::string restartCommand;
    HFONT boldFont = nullptr;
    HFONT normalFont = nullptr;
    // Indexed by resource number 1 to 8; entry 0 stays empty.
    std::array<HBITMAP, 9> bitmaps{};
    // The open main windows in order of creation; they add and remove themselves.
    std::vector<MainWindow*> windows;
    // A main window of a copy that was already running, or null for the working copy.
    HWND otherInstance = nullptr;
    HACCEL accelerators = nullptr;
    std::int32_t settingsRemoved = 0;
};

extern Application* theApplication;

// The body of the entry point: creates the Application, runs it and shuts it down. Any exception
// that gets this far is shown in the "An error has occurred" box. Returns 0.
int runApplication(HINSTANCE instance, const char* commandLine, int show);
