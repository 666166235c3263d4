#include "harness/dialog_answerer.h"

#include "harness/window_test.h"

#include <utility>

namespace harness {

namespace {

std::map<UINT_PTR, DialogAnswerer*> answerers;  // by their timers

std::string text_of(HWND window) {
    char text[2048] = {};
    GetWindowTextA(window, text, sizeof text);
    return text;
}

// The message of a message box: its longest static text (the icon is a static without text).
std::string message_text(HWND dialog) {
    std::string longest;
    for (HWND child = GetWindow(dialog, GW_CHILD); child; child = GetWindow(child, GW_HWNDNEXT)) {
        char name[16] = {};
        GetClassNameA(child, name, sizeof name);
        if (std::string text = text_of(child); _stricmp(name, "Static") == 0 && text.size() > longest.size())
            longest = std::move(text);
    }
    return longest;
}

void click(HWND dialog, int button) {
    PostMessageA(dialog, WM_COMMAND, MAKEWPARAM(button, BN_CLICKED), reinterpret_cast<LPARAM>(GetDlgItem(dialog, button)));
}

void cancel(HWND dialog) {
    click(dialog, IDCANCEL);
    // A box with only an OK button may ignore the cancel; closing it works for every other dialog.
    PostMessageA(dialog, WM_CLOSE, 0, 0);
}

}  // namespace

DialogAnswerer::DialogAnswerer(std::chrono::milliseconds patience)
    : patience(patience), timer(SetTimer(nullptr, 0, 20, &DialogAnswerer::on_timer)) {
    answerers[timer] = this;
}

DialogAnswerer::~DialogAnswerer() {
    KillTimer(nullptr, timer);
    answerers.erase(timer);
}

void CALLBACK DialogAnswerer::on_timer(HWND, UINT, UINT_PTR timer, DWORD) {
    if (auto found = answerers.find(timer); found != answerers.end() && !found->second->looking) found->second->look();
}

void DialogAnswerer::look() {
    looking = true;  // posting answers pumps no messages, but reading texts may
    // A handle may be reused by a later dialog once the answered one is gone.
    std::erase_if(met, [](const auto& entry) { return !IsWindow(entry.first); });
    for (HWND dialog : thread_windows()) {
        char name[16] = {};
        GetClassNameA(dialog, name, sizeof name);
        if (std::string(name) != "#32770") continue;
        Met& m = met[dialog];
        const bool overdue = std::chrono::steady_clock::now() - m.since >= patience;
        if (m.stage != Stage::waiting) {
            if (m.stage == Stage::answered && overdue) {
                ++unexpected_;
                m = {Stage::cancelled};
                cancel(dialog);
            }
            continue;
        }
        const std::string title = text_of(dialog);
        const bool expected = !pending.empty() && (pending.front().title.empty() || pending.front().title == title);
        if (!expected && !overdue) continue;
        seen_.push_back({title, message_text(dialog)});
        if (!expected) {
            ++unexpected_;
            m = {Stage::cancelled};
            cancel(dialog);
            continue;
        }
        const Answer answer = std::move(pending.front());
        pending.pop_front();
        m = {Stage::answered};
        for (const Preparation& p : answer.preparations) {
            // A file name goes into a combo box (cmb13) in the explorer-style dialogs, an edit (edt1) in others.
            HWND control = p.control ? GetDlgItem(dialog, p.control)
                                     : GetDlgItem(dialog, 1148) ? GetDlgItem(dialog, 1148) : GetDlgItem(dialog, 1152);
            if (p.check)
                SendMessageA(control, BM_SETCHECK, p.text.empty() ? BST_UNCHECKED : BST_CHECKED, 0);
            else
                SendMessageA(control, WM_SETTEXT, 0, reinterpret_cast<LPARAM>(p.text.c_str()));
        }
        click(dialog, answer.button);
    }
    looking = false;
}

DialogAnswerer& DialogAnswerer::prepare(std::string title, Preparation preparation) {
    draft.title = std::move(title);
    draft.preparations.push_back(std::move(preparation));
    return *this;
}

DialogAnswerer& DialogAnswerer::set_text(std::string title, int control, std::string text) {
    return prepare(std::move(title), {control, std::move(text), false});
}

DialogAnswerer& DialogAnswerer::tick(std::string title, int control, bool ticked) {
    return prepare(std::move(title), {control, ticked ? "1" : "", true});
}

DialogAnswerer& DialogAnswerer::fill_file_name(std::string title, std::string path, int button) {
    return prepare(title, {0, std::move(path), false}).press(std::move(title), button);
}

DialogAnswerer& DialogAnswerer::press(std::string title, int button) {
    Answer answer = std::exchange(draft, {});
    answer.title = std::move(title);
    answer.button = button;
    pending.push_back(std::move(answer));
    return *this;
}

}  // namespace harness
