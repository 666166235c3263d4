#pragma once
// A question or dialog that a window shows and waits on. The box belongs to the window, so the
// window is disabled while it is open; the window's code counts as running, so a destruction asked
// for meanwhile (a Quit elsewhere, the end of the session, a later start) waits until that code
// has returned, and the code learns from windowGone() that it must not go on as if nothing happened.
#include "ui/window.h"

#include <string>

class msg_exception;

class ModalMoment {
public:
    explicit ModalMoment(Window& window) : window(window) {
        window.enterCode();
        ++window.modalMoments;
    }
    ~ModalMoment() {
        --window.modalMoments;
        window.leaveCode();
    }
    ModalMoment(const ModalMoment&) = delete;
    ModalMoment& operator=(const ModalMoment&) = delete;

    // Whether the window went, or is to go, while the moment was open.
    bool windowGone() const { return window.closing(); }

private:
    Window& window;
};

// A message box owned by `window`: the button pressed, or 0 when there was no answer (the window
// went meanwhile, or the box could not be shown or was ended by a quit message).
int askUser(Window& window, const std::string& text, const char* title, unsigned style);
// Shows the error in a box owned by `window`.
void tellUser(Window& window, const msg_exception& error);
// Runs `show` (a dialog owned by `window`) as a modal moment; false when the window went meanwhile.
template <typename Show>
bool waitForUser(Window& window, Show show) {
    ModalMoment moment(window);
    show();
    return !moment.windowGone();
}
// Runs `ask` (a dialog owned by `window`) as a modal moment; true when the user made a choice (`ask`
// returned non-zero) and the window is still there.
template <typename Ask>
bool userChose(Window& window, Ask ask) {
    ModalMoment moment(window);
    const bool chosen = ask();
    return chosen && !moment.windowGone();
}
