#include "app/application.h"

#include "app/hand_over.h"
#include "app/low_memory.h"
#include "app/working_copy_lock.h"
#include "support/messages.h"
#include "support/texts.h"
#include "ui/resource_ids.h"

#include <algorithm>
#include <new>
#include <utility>

Application* theApplication = nullptr;

namespace {

constexpr int first_bitmap = 1;
constexpr int last_bitmap = 8;
constexpr int arrow_sets[] = {0, IDB_ARROWS_24, IDB_ARROWS_32};

}  // namespace

Application::Application(HINSTANCE instance_) {
    theApplication = this;
    instance = instance_;
    bind_file_dialogs(instance, &defaultDirectories);
    try {
        // This process has no window yet: a ready window of the product's class belongs to a running copy.
        otherInstance = find_working_copy(productName);
        loadSettings();
        if (!otherInstance) becomeWorkingCopy();
    } catch (...) {
        // The destructor does not run for a constructor that throws.
        deleteGraphics();
        bind_file_dialogs(nullptr, nullptr);
        theApplication = nullptr;
        throw;
    }
}

Application::~Application() {
    deleteGraphics();
    bind_file_dialogs(nullptr, nullptr);
    if (theApplication == this) theApplication = nullptr;
}

void Application::becomeWorkingCopy() {
    otherInstance = nullptr;
    createGraphics();
    accelerators = LoadAcceleratorsA(instance, productName.c_str());
}

void Application::shutdown() {
    if (otherInstance) return;
    deleteGraphics();
    if (!settingsRemoved) saveSettings();
}

void Application::createGraphics() {
    for (int set : arrow_sets)
        for (int number = set + first_bitmap; number <= set + last_bitmap; ++number)
            bitmaps[number] = CHECK_CALL(LoadBitmapA(instance, MAKEINTRESOURCEA(number)));
    LOGFONTA description{};
    description.lfHeight = -matchFontSize;
    lstrcpynA(description.lfFaceName, matchFontName.c_str(), LF_FACESIZE);
    description.lfWeight = FW_NORMAL;
    normalFont = CHECK_CALL(CreateFontIndirectA(&description));
    description.lfWeight = FW_BOLD;
    boldFont = CHECK_CALL(CreateFontIndirectA(&description));
}

void Application::deleteGraphics() {
    for (HBITMAP& bitmap : bitmaps)
        if (bitmap) DeleteObject(std::exchange(bitmap, nullptr));
    if (HFONT font = std::exchange(boldFont, nullptr)) DeleteObject(font);
    if (HFONT font = std::exchange(normalFont, nullptr)) DeleteObject(font);
}

std::vector<std::string> Application::startArguments(std::string commandLine) const {
    // A forwarding copy hands on only what it was given.
    if (!otherInstance && commandLine.empty() && !restartCommand.empty()) commandLine = restartCommand;
    std::vector<std::string> arguments;
    split_command_line(commandLine, arguments);
    return arguments;
}

int Application::run(std::string commandLine, int show, WorkingCopyLock& lock) {
    const std::vector<std::string> arguments = startArguments(std::move(commandLine));
    const auto given = [&arguments](const char* option) {
        return std::find(arguments.begin(), arguments.end(), option) != arguments.end();
    };
    // An uninstall is never first offered an install.
    if (!given("/u")) checkInstallation();
    processArguments(arguments, show);
    // Not for a start that only quits or uninstalls.
    if (!otherInstance && !given("/q") && !given("/u")) recoverPads();
    // The first windows are there and marked: later starts find them.
    lock.release();
    return messageLoop();
}

int Application::messageLoop() {
    if (windows.empty()) PostQuitMessage(0);
    MSG message{};
    // GetMessageA gives -1 only for a bad argument; ending then beats spinning.
    while (GetMessageA(&message, nullptr, 0, 0) > 0) {
        try {
            // Accelerators act on the foreground window, whichever window the key was meant for.
            if (!TranslateAcceleratorA(GetForegroundWindow(), accelerators, &message)) {
                TranslateMessage(&message);
                DispatchMessageA(&message);
            }
        } catch (const msg_exception& error) {
            error.show(nullptr);
        } catch (const std::bad_alloc&) {
            reportOutOfMemory();
        }
        if (windows.empty()) PostQuitMessage(0);
    }
    return static_cast<int>(message.wParam);
}

namespace {

// The last resort: the box of an error that ends the program.
void showFatal(const std::exception& error) {
    show_message(nullptr, error.what(), texts.error_occurred, style_warning);
}

}  // namespace

int runApplication(HINSTANCE instance, const char* commandLine, int show) {
    Application* application = nullptr;
    try {
        // Before the settings are read: a working copy that is just ending writes them first.
        WorkingCopyLock lock;
        application = new Application(instance);
        application->run(commandLine ? commandLine : "", show, lock);
    } catch (const start_given_up&) {
        // The user's own choice: nothing to tell.
    } catch (const std::exception& error) {
        showFatal(error);
    }
    if (!application) return 0;
    // Also after a run that failed: the settings of the session are still the user's.
    try {
        application->shutdown();
    } catch (const std::exception& error) {
        showFatal(error);
    }
    delete application;
    return 0;
}
