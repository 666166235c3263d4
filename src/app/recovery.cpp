// A working copy's start takes back the unsaved changes of sessions that ended unexpectedly.
#include "app/application.h"

#include "storage/recovery_file.h"
#include "support/messages.h"
#include "support/texts.h"
#include "support/util.h"
#include "ui/main_window.h"
#include "ui/recovery_slot.h"

#include <thread>

std::string Application::recoverPad(const std::string& file) {
    RecoverySlot slot;
    // Held by a window of a running copy.
    if (!slot.take(file)) return {};
    RecoveredPad recovered;
    try {
        recovered = read_recovery(file);
    } catch (const msg_exception&) {
        const std::string aside = slot.putAside();
        return fill_message(texts.recovery_damaged, file, aside);
    }
    const std::int32_t count = recovered.count();
    if (count == 0) {
        slot.remove();
        return {};
    }
    // A pad whose file is gone comes back as a new pad, saved where it was.
    const HWND opened = path_exists(recovered.pad_path) ? openPad(recovered.pad_path)
                                                       : (new MainWindow(SW_SHOWNORMAL, recovered.pad_path))->hwnd;
    auto* window = dynamic_cast<MainWindow*>(Window::fromHandle(opened));
    window->takeRecovery(std::move(recovered.changes));
    // The window keeps its own recovery now.
    slot.remove();
    return fill_message(texts.recovered, std::to_string(count), window->title.empty() ? texts.new_pad : window->title);
}

void Application::recoverPads() {
    std::string report;
    for (const std::string& file : RecoverySlot::existingFiles()) {
        try {
            const std::string told = recoverPad(file);
            if (!told.empty()) report += (report.empty() ? "" : "\n") + told;
        } catch (const msg_exception& error) {
            // The file stays for the next start.
            error.show(nullptr);
        }
    }
    if (report.empty()) return;
    // On a thread of its own, so that no box stands in the way: the pads work on meanwhile.
    std::thread([report, title = productName] {
        MessageBoxA(nullptr, report.c_str(), title.c_str(), MB_OK | MB_ICONINFORMATION | MB_SETFOREGROUND);
    }).detach();
}
