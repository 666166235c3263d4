#include "ui/magic_click_window.h"

#include "support/messages.h"
#include "support/texts.h"
#include "ui/link_text.h"
#include "ui/main_window.h"

#include <shellapi.h>

#include <utility>

namespace {

MagicClickWindow::ShellOpen& replacedShellOpen() {
    static MagicClickWindow::ShellOpen open;
    return open;
}

bool isBlank(char c) { return c == ' ' || c == '\t' || c == '\r' || c == '\n'; }

// Words end at white space only, so that a double click (and Ctrl+click) takes a whole link with
// its slashes, dots and at signs; some systems' own rule breaks at punctuation too.
int CALLBACK blankDelimitedWords(LPSTR text, int current, int length, int action) {
    switch (action) {
    case WB_LEFT:
        while (current > 0 && !isBlank(text[current - 1])) --current;
        return current;
    case WB_RIGHT:
        while (current < length && !isBlank(text[current])) ++current;
        while (current < length && isBlank(text[current])) ++current;
        return current;
    default:
        return current < length && isBlank(text[current]);
    }
}

}  // namespace

MagicClickWindow::MagicClickWindow(Window* parent, int id)
    : ControlWindow(parent, "edit",
                    WS_CHILD | WS_VISIBLE | WS_BORDER | WS_VSCROLL | ES_MULTILINE | ES_AUTOVSCROLL | ES_NOHIDESEL,
                    id) {
    SendMessageA(hwnd, EM_SETWORDBREAKPROC, 0, reinterpret_cast<LPARAM>(&blankDelimitedWords));
}

LRESULT MagicClickWindow::handleMessage(UINT message, WPARAM wParam, LPARAM lParam) {
    if (message == WM_LBUTTONDOWN && (wParam & MK_CONTROL)) {
        followLink(wParam, lParam);
        return 0;
    }
    return ControlWindow::handleMessage(message, wParam, lParam);
}

std::string MagicClickWindow::selectedText() const {
    DWORD start = 0, end = 0;
    SendMessageA(hwnd, EM_GETSEL, reinterpret_cast<WPARAM>(&start), reinterpret_cast<LPARAM>(&end));
    std::string text;
    getText(text);
    if (start >= end || start >= text.size()) return {};
    return text.substr(start, end - start);
}

std::string MagicClickWindow::decodeLink(std::string word) { return decode_link(std::move(word)); }

MagicClickWindow::ShellOpen MagicClickWindow::setShellOpen(ShellOpen open) {
    return std::exchange(replacedShellOpen(), std::move(open));
}

bool MagicClickWindow::shellOpen(HWND owner, const std::string& file, int show) {
    if (replacedShellOpen()) return replacedShellOpen()(owner, file, show);
    return reinterpret_cast<INT_PTR>(ShellExecuteA(owner, nullptr, file.c_str(), nullptr, nullptr, show)) > 32;
}

void MagicClickWindow::followLink(WPARAM wParam, LPARAM lParam) {
    // The caret goes to the click, then the control selects the blank-delimited word there.
    ControlWindow::handleMessage(WM_LBUTTONDOWN, wParam, lParam);
    ControlWindow::handleMessage(WM_LBUTTONDBLCLK, wParam, lParam);
    // No drag selection follows; a question box must get the mouse.
    if (GetCapture() == hwnd) ReleaseCapture();
    const std::string link = decodeLink(selectedText());

    auto search = [&] { SendMessageA(parent->hwnd, WM_FOLLOWLINK, reinterpret_cast<WPARAM>(link.c_str()), 0); };
    switch (classify_link(link)) {
    case LinkAction::search:
        search();
        return;
    case LinkAction::mail:
        check_call(shellOpen(hwnd, "mailto:" + link, SW_SHOW), texts.mail_failed, -1);
        return;
    case LinkAction::ask_first:
        // No is the default button, so a hurried Enter opens nothing.
        if (MessageBoxA(parent->hwnd, fill_message(texts.open_link_question, link).c_str(), texts.open_link_title,
                        MB_YESNO | MB_ICONQUESTION | MB_DEFBUTTON2) != IDYES)
            return;
        break;
    case LinkAction::open:
        break;
    }
    // What cannot be opened is a reference to other nibs.
    if (!shellOpen(hwnd, link, SW_SHOWNORMAL)) search();
}
