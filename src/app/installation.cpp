// The program's place in the system: its file type, application entries and shortcuts.
#include "app/application.h"

#include "support/messages.h"
#include "support/reg.h"
#include "support/texts.h"
#include "support/util.h"
#include "ui/resource_ids.h"
#include "ui/window.h"

#include <shlobj.h>

namespace {

constexpr std::uint32_t style_information = MB_ICONINFORMATION;

void reportShortcutFailure(HRESULT status) {
    SetLastError(static_cast<DWORD>(HRESULT_CODE(status)));
    CHECK_CALL(false);
}

// A new shortcut goes to the folder for every user when the registration is for every user and
// that folder takes it, else to the user's own; a folder the system does not have is skipped.
void placeShortcut(const std::string& target, const ShortcutPlace& place, bool forEveryUser) {
    HRESULT status = S_OK;
    for (const std::string* folder : {&place.common, &place.own}) {
        if (folder->empty() || (folder == &place.common && !forEveryUser)) continue;
        status = create_shortcut(target, *folder + texts.shortcut_file, texts.application_description);
        if (SUCCEEDED(status)) return;
    }
    if (FAILED(status)) reportShortcutFailure(status);
}

// Renews a shortcut to the program's new place; the old one goes only once the new one exists.
HRESULT renewShortcut(const std::string& target, const std::string& shortcut) {
    const std::string renewed = shortcut + ".new";
    const HRESULT status = create_shortcut(target, renewed, texts.application_description);
    if (FAILED(status)) return status;
    if (MoveFileExA(renewed.c_str(), shortcut.c_str(), MOVEFILE_REPLACE_EXISTING)) return S_OK;
    const HRESULT moveStatus = HRESULT_FROM_WIN32(GetLastError());
    DeleteFileA(renewed.c_str());
    return moveStatus;
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

std::array<ShortcutPlace, 2> standardShortcutPlaces() {
    return {{{special_folder_path(CSIDL_COMMON_PROGRAMS), special_folder_path(CSIDL_PROGRAMS)},
             {special_folder_path(CSIDL_COMMON_DESKTOPDIRECTORY), special_folder_path(CSIDL_DESKTOP)}}};
}

bool Application::registerFileType() {
    // Old entries go first: a user's own entry naming an old place would hide a new machine one.
    unregister_association("nib", "nibfile");
    unregister_application("scrivel");
    // For every user when the registry allows it, else for this user alone.
    for (const RegistrationPlace& place : registrationPlaces) {
        const bool association = register_association("nib", "nibfile", texts.pad_file_type, IDI_PAD_FILE, place);
        if (register_application("scrivel", productName, place) && association)
            return place.classes != user_registration.classes;
    }
    throw msg_exception(texts.registration_refused, texts.setup_title, style_warning);
}

void Application::install() {
    const bool forEveryUser = registerFileType();
    const std::string own = program_path();
    const char* const questions[] = {texts.start_menu_shortcut, texts.desktop_shortcut};
    for (std::size_t index = 0; index < shortcutPlaces.size(); ++index) {
        if (MessageBoxA(nullptr, questions[index], texts.shortcut_title, MB_YESNO | MB_ICONQUESTION) == IDYES)
            placeShortcut(own, shortcutPlaces[index], forEveryUser);
    }
}

void Application::updateInstallation() {
    registerFileType();
    const std::string own = program_path();
    for (const ShortcutPlace& place : shortcutPlaces) {
        for (const std::string* folder : {&place.common, &place.own}) {
            const std::string shortcut = *folder + texts.shortcut_file;
            if (folder->empty() || !path_exists(shortcut)) continue;
            const HRESULT status = renewShortcut(own, shortcut);
            if (SUCCEEDED(status)) continue;
            // One for every user that this user may not change: the user gets one of his own.
            if (folder == &place.common)
                placeShortcut(own, place, false);
            else
                reportShortcutFailure(status);
        }
    }
}

void Application::uninstall() {
    std::vector<std::string> left = unregister_association("nib", "nibfile");
    for (std::string& key : unregister_application("scrivel")) left.push_back(std::move(key));
    delete_key(settings_key_path);
    // Gone from here on, whatever else stays: not written back, no default pad.
    settingsRemoved = 1;
    for (const ShortcutPlace& place : shortcutPlaces) {
        for (const std::string* folder : {&place.common, &place.own}) {
            const std::string shortcut = *folder + texts.shortcut_file;
            if (!folder->empty() && path_exists(shortcut) && !DeleteFileA(shortcut.c_str())) left.push_back(shortcut);
        }
    }
    std::string report = texts.registry_removed;
    if (!left.empty()) report += texts.not_removed;
    for (const std::string& item : left) report += "\n" + item;
    show_message(nullptr, report, texts.uninstall_complete, style_information);
}
