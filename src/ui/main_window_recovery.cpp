// The main window's recovery file: what is not saved yet, for a start after an unexpected end.
#include "ui/main_window.h"

#include "support/messages.h"
#include "ui/magic_click_window.h"

#include <utility>

namespace {

constexpr UINT_PTR recovery_timer = 1;
// What typing may lose at most when the session ends unexpectedly.
constexpr UINT recovery_delay_ms = 2000;

}  // namespace

void MainWindow::markChanged() {
    padChanged = 1;
    keepRecovery();
}

void MainWindow::keepRecovery() {
    // Not restarted by each keystroke: typing without a pause is kept every two seconds too.
    if (!recoveryDue) recoveryDue = SetTimer(hwnd, recovery_timer, recovery_delay_ms, nullptr) != 0;
}

void MainWindow::writeRecovery() {
    // At a commit: a failure is left to the timer, which tries again and reports it.
    try {
        saveRecovery();
    } catch (const msg_exception&) {
        keepRecovery();
    }
}

void MainWindow::onRecoveryTimer() {
    try {
        saveRecovery();
    } catch (const msg_exception&) {
        // Once per window: the pad works on without its recovery, and a box every two seconds
        // would stop the typing.
        if (std::exchange(recoveryReported, true)) return;
        throw;
    }
}

void MainWindow::saveRecovery() {
    if (recoveryDue) KillTimer(hwnd, recovery_timer);
    recoveryDue = false;
    if (!padChanged && !textChanged) {
        recovery.remove();
        return;
    }
    // The pending edit as it stands: committing it would stamp the nib.
    std::string typed;
    if (textChanged) textField->getText(typed);
    recovery.write(fileName, pad, textChanged ? &typed : nullptr);
}

void MainWindow::takeRecovery(Pad&& changes) {
    commitText();
    pad.take_changes(std::move(changes));
    padChanged = 1;
    applyFind();
    saveRecovery();
}
