#include "ui/magic_click_window.h"

#include "support/messages.h"
#include "support/texts.h"
#include "ui/link_text.h"
#include "ui/main_window.h"
#include "ui/modal_moment.h"

#include <shellapi.h>

#include <algorithm>
#include <utility>

namespace {

MagicClickWindow::ShellOpen& replacedShellOpen() {
    static MagicClickWindow::ShellOpen open;
    return open;
}

bool isBlank(char c) { return c == ' ' || c == '\t' || c == '\r' || c == '\n'; }

// Selects the word at the point, ending at white space only, so that a double click (and
// Ctrl+click) takes a whole link with its slashes, dots and at signs. Done here rather than
// through a word-break procedure: the edit control of common controls 6 breaks at punctuation by
// itself, and under Wine it hands such a procedure wide text even in an ANSI window.
void selectWordAt(const Window& field, LPARAM point) {
    const auto at = static_cast<std::size_t>(LOWORD(SendMessageA(field.hwnd, EM_CHARFROMPOS, 0, point)));
    std::string text;
    field.getText(text);
    std::size_t start = std::min(at, text.size()), end = start;
    while (start > 0 && !isBlank(text[start - 1])) --start;
    while (end < text.size() && !isBlank(text[end])) ++end;
    SendMessageA(field.hwnd, EM_SETSEL, start, end);
}

}  // namespace

MagicClickWindow::MagicClickWindow(Window* parent, int id)
    : ControlWindow(parent, "edit",
                    WS_CHILD | WS_VISIBLE | WS_BORDER | WS_VSCROLL | ES_MULTILINE | ES_AUTOVSCROLL | ES_NOHIDESEL,
                    id) {}

LRESULT MagicClickWindow::handleMessage(UINT message, WPARAM wParam, LPARAM lParam) {
    if (message == WM_LBUTTONDOWN && (wParam & MK_CONTROL)) {
        followLink(wParam, lParam);
        return 0;
    }
    if (message == WM_LBUTTONDBLCLK) {
        selectWordAt(*this, lParam);
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
    // The caret and the focus go to the click, then the word there is selected.
    ControlWindow::handleMessage(WM_LBUTTONDOWN, wParam, lParam);
    // No drag selection follows; a question box must get the mouse.
    if (GetCapture() == hwnd) ReleaseCapture();
    selectWordAt(*this, lParam);
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
        // Asked over the pad window, which outlives this field while the question is open.
        if (askUser(*parent, fill_message(texts.open_link_question, link), texts.open_link_title,
                    MB_YESNO | MB_ICONQUESTION | MB_DEFBUTTON2) != IDYES)
            return;
        break;
    case LinkAction::open:
        break;
    }
    if (parent->closing()) return;
    // What cannot be opened is a reference to other nibs.
    if (!shellOpen(hwnd, shell_target(link), SW_SHOWNORMAL)) search();
}
