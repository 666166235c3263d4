// The program's place in the system: its file type, application entries and shortcuts.
#include "app/application.h"

#include "support/messages.h"
#include "support/reg.h"
#include "support/texts.h"

#include <shlobj.h>

namespace {

constexpr std::uint32_t style_information = MB_ICONINFORMATION;

// The folders that may hold a shortcut: the Start menu and the desktop, each the all-users folder
// first and the user's own when the system has none.
constexpr int shortcutFolders[][2] = {{CSIDL_COMMON_PROGRAMS, CSIDL_PROGRAMS},
                                      {CSIDL_COMMON_DESKTOPDIRECTORY, CSIDL_DESKTOP}};

std::string shortcutFolder(const int (&folders)[2]) {
    std::string folder = special_folder_path(folders[0]);
    return folder.empty() ? special_folder_path(folders[1]) : folder;
}

}  // namespace

void Application::uninstall() {
    unregister_association("nib", "nibfile");
    unregister_application("scrivel");
    delete_key(settings_key_path);
    // Gone from here on, even if a shortcut cannot be removed: not written back, no default pad.
    settingsRemoved = 1;
    for (const auto& folders : shortcutFolders) {
        const std::string folder = shortcutFolder(folders);
        if (folder.empty()) continue;
        const std::string shortcut = folder + texts.shortcut_file;
        if (GetFileAttributesA(shortcut.c_str()) != INVALID_FILE_ATTRIBUTES) CHECK_CALL(DeleteFileA(shortcut.c_str()));
    }
    show_message(nullptr, texts.registry_removed, texts.uninstall_complete, style_information);
}
