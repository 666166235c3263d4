#include "ui/modal_moment.h"

#include "support/messages.h"

int askUser(Window& window, const std::string& text, const char* title, unsigned style) {
    ModalMoment moment(window);
    // A box that could not be shown, or that a quit message ended, gave no answer either.
    const int answer = MessageBoxA(window.hwnd, text.c_str(), title, style);
    return moment.windowGone() ? 0 : answer;
}

void tellUser(Window& window, const msg_exception& error) {
    ModalMoment moment(window);
    error.show(window.hwnd);
}
