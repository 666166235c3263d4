// The command line of a start, and the hand-over of a second start to the copy already running.
#include "app/application.h"

#include "app/hand_over.h"
#include "app/working_copy_lock.h"

#include "support/messages.h"
#include "support/texts.h"
#include "support/util.h"
#include "ui/command_ids.h"
#include "ui/copy_data.h"
#include "ui/main_window.h"

namespace {

// A pad name as the working copy must read it: relative to this start's folder, which the working
// copy does not share. Left as given when the system cannot complete it.
std::string fullPath(const std::string& path) {
    const DWORD needed = GetFullPathNameA(path.c_str(), 0, nullptr, nullptr);
    if (needed == 0) return path;
    std::string full(needed, '\0');
    const DWORD length = GetFullPathNameA(path.c_str(), needed, full.data(), nullptr);
    if (length == 0 || length >= needed) return path;
    full.resize(length);
    return full;
}

}  // namespace

void Application::processArguments(const std::vector<std::string>& arguments, int show) {
    int opened = 0;
    bool quitting = false;
    HWND target = nullptr;
    for (std::size_t index = 0; index < arguments.size(); ++index) {
        const std::string& argument = arguments[index];
        const bool hasNext = index + 1 < arguments.size();
        try {
            if (argument == "/u") {
                uninstall();
                // A working copy that still shows pads goes on; its settings stay removed.
                if (windows.empty()) PostQuitMessage(0);
            } else if (argument == "/f" && target && hasNext) {
                sendCopyData(target, copyFind, arguments[++index]);
            } else if (argument == "/s" && target && hasNext) {
                sendCopyData(target, copySync, fullPath(arguments[++index]));
            } else if (argument == "/q") {
                if (HWND quitTarget = target ? target : otherInstance)
                    SendMessageA(quitTarget, WM_COMMAND, CMD_QUIT, 0);
                quitting = true;
                // The user may have cancelled a "Save changes?" question: then a window stays and
                // the program with it.
                if (windows.empty()) PostQuitMessage(0);
            } else {
                target = openPad(fullPath(argument));
                SendMessageA(target, WM_COMMAND, CMD_FIRST, 0);
                ++opened;
            }
        } catch (const start_given_up&) {
            throw;
        } catch (const msg_exception& error) {
            error.show(nullptr);
        }
    }
    if (opened > 0 || settingsRemoved || quitting) return;
    if (otherInstance) {
        newPad(show);
        return;
    }
    const std::string defaultPad = directory_of(program_path()) + texts.default_pad_name;
    if (path_exists(defaultPad))
        openPad(defaultPad);
    else
        new MainWindow(show, defaultPad);
}

HWND Application::openPad(const std::string& path) {
    if (otherInstance) return reinterpret_cast<HWND>(sendCopyData(otherInstance, copyOpenPad, path));
    // A copy of the list: a window that answers may open or close others.
    const std::vector<MainWindow*> open = windows;
    for (MainWindow* window : open)
        if (SendMessageA(window->hwnd, WM_ISYOURPAD, reinterpret_cast<WPARAM>(path.c_str()), 0)) return window->hwnd;
    return (new MainWindow(path))->hwnd;
}

HWND Application::newPad(int show) {
    if (otherInstance) return reinterpret_cast<HWND>(sendCopyData(otherInstance, copyNewPad, ""));
    return (new MainWindow(show, ""))->hwnd;
}

LRESULT Application::sendCopyData(HWND window, std::uintptr_t code, const std::string& text) {
    for (;;) {
        if (const auto answer = hand_over(window, code, text)) return *answer;
        // A pad window that went takes its find text or synchronisation with it.
        if (window != otherInstance) return 1;
        window = otherInstance = find_working_copy(productName);
        if (otherInstance) continue;
        becomeWorkingCopy();
        return reinterpret_cast<LRESULT>(code == copyOpenPad ? openPad(text) : newPad(SW_SHOWNORMAL));
    }
}
