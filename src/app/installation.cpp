// The program's place in the system: its file type, application entries and shortcuts.
#include "app/application.h"

#include "support/messages.h"
#include "support/reg.h"
#include "support/texts.h"
#include "ui/resource_ids.h"
#include "ui/window.h"

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

bool exists(const std::string& path) { return GetFileAttributesA(path.c_str()) != INVALID_FILE_ATTRIBUTES; }

void make_shortcut(const std::string& target, const std::string& shortcut) {
    const HRESULT status = create_shortcut(target, shortcut, texts.application_description);
    if (FAILED(status)) {
        SetLastError(static_cast<DWORD>(HRESULT_CODE(status)));
        CHECK_CALL(false);
    }
}

// Renews a shortcut to the program's new place; the old one goes only once the new one exists.
void renew_shortcut(const std::string& target, const std::string& shortcut) {
    const std::string renewed = shortcut + ".new";
    make_shortcut(target, renewed);
    if (!MoveFileExA(renewed.c_str(), shortcut.c_str(), MOVEFILE_REPLACE_EXISTING)) {
        const unsigned long error = GetLastError();
        DeleteFileA(renewed.c_str());
        SetLastError(error);
        CHECK_CALL(false);
    }
}

INT_PTR CALLBACK setupDialogProc(HWND dialog, UINT message, WPARAM wParam, LPARAM lParam) {
    switch (message) {
    case WM_INITDIALOG:
        try {
            center_window(dialog);
            SendDlgItemMessageA(dialog, IDC_SETUP_ICON, STM_SETICON,
                                reinterpret_cast<WPARAM>(LoadIconA(nullptr, MAKEINTRESOURCEA(32514))), 0);
            CHECK_CALL(SetDlgItemTextA(dialog, IDC_SETUP_QUESTION, reinterpret_cast<const char*>(lParam)));
        } catch (...) {
            // Never through the system's dialog code: shown as any handler's error, and the
            // question waits for the next start.
            Window::reportError(std::current_exception());
            EndDialog(dialog, IDC_SETUP_LATER);
        }
        return TRUE;
    case WM_COMMAND:
        switch (LOWORD(wParam)) {
        case IDOK:
        case IDC_SETUP_LATER:
        case IDC_SETUP_NEVER: EndDialog(dialog, LOWORD(wParam)); return TRUE;
        }
        // Escape and the close box are no answer.
        return FALSE;
    default: return FALSE;
    }
}

}  // namespace

void Application::checkInstallation() {
    const std::string own = program_path();
    std::string registered;
    registered_program("nibfile", registered);
    // Letter case may differ between two names of one file.
    if (own.empty() || !changeRegistry || lstrcmpiA(own.c_str(), registered.c_str()) == 0) return;
    const char* question = registered.empty() ? texts.modify_registry : texts.program_moved;
    const INT_PTR answer = DialogBoxParamA(instance, MAKEINTRESOURCEA(IDD_SETUP), nullptr, setupDialogProc,
                                           reinterpret_cast<LPARAM>(question));
    CHECK_CALL(answer != -1);
    if (answer == IDOK) {
        // A registration that failed is told, and the program starts all the same.
        try {
            if (registered.empty())
                install();
            else
                updateInstallation();
        } catch (const msg_exception& error) {
            error.show(nullptr);
        }
    } else if (answer == IDC_SETUP_NEVER) {
        changeRegistry = 0;
    }
}

void Application::registerFileType() {
    // Old entries go first: a user's own entry naming an old place would hide a new machine one.
    unregister_association("nib", "nibfile");
    unregister_application("scrivel");
    // For every user when the registry allows it, else for this user alone.
    for (const RegistrationPlace& place : registrationPlaces) {
        const bool association = register_association("nib", "nibfile", texts.pad_file_type, IDI_PAD_FILE, place);
        if (register_application("scrivel", productName, place) && association) return;
    }
    throw msg_exception(texts.registration_refused, texts.setup_title, style_warning);
}

void Application::install() {
    registerFileType();
    const std::string own = program_path();
    const struct {
        const char* question;
        const int (&folders)[2];
    } offers[] = {{texts.start_menu_shortcut, shortcutFolders[0]}, {texts.desktop_shortcut, shortcutFolders[1]}};
    for (const auto& offer : offers) {
        if (MessageBoxA(nullptr, offer.question, texts.shortcut_title, MB_YESNO | MB_ICONQUESTION) != IDYES) continue;
        const std::string folder = shortcutFolder(offer.folders);
        if (!folder.empty()) make_shortcut(own, folder + texts.shortcut_file);
    }
}

void Application::updateInstallation() {
    registerFileType();
    const std::string own = program_path();
    for (const auto& folders : shortcutFolders) {
        const std::string folder = shortcutFolder(folders);
        if (!folder.empty() && exists(folder + texts.shortcut_file)) renew_shortcut(own, folder + texts.shortcut_file);
    }
}

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
        if (exists(shortcut)) CHECK_CALL(DeleteFileA(shortcut.c_str()));
    }
    show_message(nullptr, texts.registry_removed, texts.uninstall_complete, style_information);
}
