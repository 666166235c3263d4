#pragma once
// The one application object: the settings, the shared fonts and bitmaps, the list of open main
// windows, and the message loop that runs the program.
#include "support/reg.h"
#include "support/util.h"
#include "ui/pad_host.h"

#include <windows.h>

#include <array>
#include <cstdint>
#include <string>
#include <vector>

// Where a shortcut of the program goes: the folder for every user and the user's own.
struct ShortcutPlace {
    std::string common;
    std::string own;
};
// The Start menu and the desktop, as this system has them.
std::array<ShortcutPlace, 2> standardShortcutPlaces();

// Where the settings live in the per-user registry.
inline constexpr const char* settings_key_path = "HKEY_CURRENT_USER\\Software\\Velmoran\\Scrivel\\";

class WorkingCopyLock;

class Application : public PadHost {
public:
    explicit Application(HINSTANCE instance);
    // Releases the fonts and bitmaps; never writes the settings (see shutdown).
    ~Application() override;

    // Runs the program: the installation check (not for "/u") and the command line (the Restart
    // Command when it is empty), then, with the lock released, the message loop until the last main
    // window is gone. Returns the quit message's wParam.
    int run(std::string commandLine, int show, WorkingCopyLock& lock);
    // Takes the working copy's part: when none runs at the start, or when it ended while this
    // copy was handing over.
    void becomeWorkingCopy();

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
    HWND openPad(const std::string& path) override;
    // A new, empty pad window.
    HWND newPad(int show) override;
    // Opens the pads of the recovery files that no running copy holds and synchronises each
    // recovery into its pad, which is then changed; tells the user what came back.
    void recoverPads();
    // One recovery file: what to tell the user of it, or nothing. The file stays when this throws.
    std::string recoverPad(const std::string& file);
    // Sends one WM_COPYDATA request to `window` and returns its answer. When the working copy's
    // window went before it answered, the request goes to another ready window of it, or, when
    // the working copy has ended, this copy takes over and does it itself.
    LRESULT sendCopyData(HWND window, std::uintptr_t code, const std::string& text);
    // Removes the program's registry entries and shortcuts ("/u") wherever they are, and says what
    // it could not remove; the settings are not written back.
    void uninstall();
    // At every start: when pad files do not open with this program file, asks in the Setup
    // dialog whether to register it (install on a first start, updateInstallation after a move).
    void checkInstallation();
    void install();
    void updateInstallation();
    // Registers the file type and the application; true when for every user, false when for this
    // user alone. Throws when no place took them.
    bool registerFileType();
    // Where registrations go, tried in order until one takes everything.
    std::vector<RegistrationPlace> registrationPlaces{machine_registration, user_registration};
    // The Start menu's and the desktop's folders, in the order the shortcut questions come.
    std::array<ShortcutPlace, 2> shortcutPlaces = standardShortcutPlaces();

    void loadSettings();
    void saveSettings() override;

    void createGraphics();
    void deleteGraphics();

    std::string matchFontName = "MS Sans Serif";
    std::int32_t matchFontSize = 11;
    DirectorySlots defaultDirectories;
    // A main window of a copy that was already running, or null for the working copy.
    HWND otherInstance = nullptr;
    HACCEL accelerators = nullptr;
    std::int32_t settingsRemoved = 0;
};

extern Application* theApplication;

// The body of the entry point: creates the Application, runs it and shuts it down. Any exception
// that gets this far is shown in the "An error has occurred" box. Returns 0.
int runApplication(HINSTANCE instance, const char* commandLine, int show);
