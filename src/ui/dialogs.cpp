#include "ui/dialogs.h"

#include "storage/separator.h"
#include "support/messages.h"
#include "support/util.h"
#include "ui/dialog_ids.h"
#include "ui/main_window.h"
#include "ui/pad_host.h"

namespace {

DialogExchange& exchange_of(HWND dialog) {
    return *reinterpret_cast<DialogExchange*>(GetWindowLongPtrA(dialog, DWLP_USER));
}

// Runs one message of a dialog procedure; an error ends the dialog and waits in the exchange.
template <typename Handler>
INT_PTR guarded(HWND dialog, Handler handler) {
    try {
        return handler();
    } catch (...) {
        exchange_of(dialog).error = std::current_exception();
        EndDialog(dialog, 0);
        return TRUE;
    }
}

// Takes the exchange and centres the dialog: the start of every WM_INITDIALOG. The exchange comes
// first, so that an error while centring waits in it too.
template <typename Handler>
INT_PTR begin_dialog(HWND dialog, LPARAM exchange, Handler handler) {
    SetWindowLongPtrA(dialog, DWLP_USER, exchange);
    return guarded(dialog, [&] {
        center_window(dialog);
        return handler();
    });
}

INT_PTR run_dialog(HWND owner, int resource, DLGPROC procedure, DialogExchange& exchange) {
    const INT_PTR result = DialogBoxParamA(thePadHost->instance, MAKEINTRESOURCEA(resource), owner, procedure,
                                           reinterpret_cast<LPARAM>(&exchange));
    if (exchange.error) std::rethrow_exception(exchange.error);
    if (result == -1) raise_failed_call(last_error_code(), source_name(__FILE__), __LINE__);
    return result;
}

void tick(HWND dialog, int box, std::int32_t on) {
    CHECK_CALL(CheckDlgButton(dialog, box, on ? BST_CHECKED : BST_UNCHECKED));
}

std::int32_t ticked(HWND dialog, int box) { return IsDlgButtonChecked(dialog, box) == BST_CHECKED ? 1 : 0; }

}  // namespace

INT_PTR CALLBACK separatorDialogProc(HWND dialog, UINT message, WPARAM wParam, LPARAM lParam) {
    if (message == WM_INITDIALOG) {
        return begin_dialog(dialog, lParam, [&] {
            CHECK_CALL(SetDlgItemTextA(dialog, IDC_SEPARATOR_TEXT, exchange_of(dialog).text.c_str()));
            return TRUE;
        });
    }
    if (message != WM_COMMAND) return FALSE;
    switch (LOWORD(wParam)) {
    case IDOK:
        return guarded(dialog, [&] {
            HWND field = CHECK_CALL(GetDlgItem(dialog, IDC_SEPARATOR_TEXT));
            std::string text(static_cast<std::size_t>(GetWindowTextLengthA(field)) + 1, '\0');
            text.resize(static_cast<std::size_t>(GetWindowTextA(field, text.data(), static_cast<int>(text.size()))));
            exchange_of(dialog).text = std::move(text);
            EndDialog(dialog, 1);
            return TRUE;
        });
    case IDCANCEL: EndDialog(dialog, 0); return TRUE;
    default: return FALSE;
    }
}

INT_PTR CALLBACK otherSettingsDialogProc(HWND dialog, UINT message, WPARAM wParam, LPARAM lParam) {
    PadHost& host = *thePadHost;
    if (message == WM_INITDIALOG) {
        return begin_dialog(dialog, lParam, [&] {
            tick(dialog, IDC_CHANGE_REGISTRY, host.changeRegistry);
            tick(dialog, IDC_AUTOSAVE, host.autosave);
            return TRUE;
        });
    }
    if (message != WM_COMMAND) return FALSE;
    switch (LOWORD(wParam)) {
    case IDOK:
        // Kept in the host and written with all settings at the end; the repair itself waits for
        // the next start, as the dialog says.
        host.changeRegistry = ticked(dialog, IDC_CHANGE_REGISTRY);
        host.autosave = ticked(dialog, IDC_AUTOSAVE);
        EndDialog(dialog, 1);
        return TRUE;
    case IDCANCEL: EndDialog(dialog, 0); return TRUE;
    default: return FALSE;
    }
}

bool askOtherSettings(HWND owner) {
    DialogExchange exchange;
    return run_dialog(owner, IDD_OTHER_SETTINGS, otherSettingsDialogProc, exchange) == 1;
}

std::string MainWindow::askSeparator(HWND owner, const std::string& current) {
    DialogExchange exchange{encode_separator(current), nullptr};
    // Cancel, and OK on an empty field, both give the empty separator, which ends the command.
    if (run_dialog(owner, IDD_SEPARATOR, separatorDialogProc, exchange) != 1) return {};
    return decode_separator(exchange.text);
}
