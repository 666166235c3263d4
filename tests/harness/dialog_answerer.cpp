#include "harness/dialog_answerer.h"

#include "harness/window_test.h"

#include <atomic>
#include <deque>
#include <map>
#include <mutex>
#include <thread>
#include <utility>

namespace harness {

namespace {

// What is done to a control before the button is pressed.
struct Preparation {
    enum Kind { set_text, tick, file_name } kind;
    int control = 0;
    std::string text;  // the text, or "1"/"" for a tick
};

struct Answer {
    std::string title;
    std::vector<Preparation> preparations;
    int button = 0;
};

// Where an open dialog stands: met but not answered yet, answered as announced, or cancelled
// (unannounced, or still open after its answer); `since` is when it got there.
struct Tracked {
    enum Stage { waiting, answered, cancelled, ended } stage = waiting;
    std::chrono::steady_clock::time_point since = std::chrono::steady_clock::now();
};

// Asks the dialog's thread, which sits in the dialog's modal loop, and never waits long for it.
void send(HWND window, UINT message, WPARAM w, const void* l) {
    DWORD_PTR ignored = 0;
    SendMessageTimeoutA(window, message, w, reinterpret_cast<LPARAM>(l), SMTO_ABORTIFHUNG, 1000, &ignored);
}

std::string text_of(HWND window) {
    char buffer[2048] = {};
    send(window, WM_GETTEXT, sizeof buffer, buffer);
    return buffer;
}

std::string class_of(HWND window) {
    char name[64] = {};
    GetClassNameA(window, name, sizeof name);
    return name;
}

// The message of a message box: its longest static text (the icon is a static without text).
std::string message_text(HWND dialog) {
    std::string longest;
    for (HWND child = GetWindow(dialog, GW_CHILD); child; child = GetWindow(child, GW_HWNDNEXT)) {
        if (_stricmp(class_of(child).c_str(), "Static") != 0) continue;
        std::string text = text_of(child);
        if (text.size() > longest.size()) longest = std::move(text);
    }
    return longest;
}

void prepare(HWND dialog, const Preparation& preparation) {
    switch (preparation.kind) {
    case Preparation::set_text:
        send(GetDlgItem(dialog, preparation.control), WM_SETTEXT, 0, preparation.text.c_str());
        break;
    case Preparation::tick:
        send(GetDlgItem(dialog, preparation.control), BM_SETCHECK,
             preparation.text.empty() ? BST_UNCHECKED : BST_CHECKED, nullptr);
        break;
    case Preparation::file_name: {
        // A combo box (cmb13) in the explorer-style dialogs, an edit (edt1) in others.
        HWND field = GetDlgItem(dialog, 1148) ? GetDlgItem(dialog, 1148) : GetDlgItem(dialog, 1152);
        if (field) send(field, WM_SETTEXT, 0, preparation.text.c_str());
        break;
    }
    }
}

void cancel(HWND dialog) {
    PostMessageA(dialog, WM_COMMAND, MAKEWPARAM(IDCANCEL, BN_CLICKED), reinterpret_cast<LPARAM>(GetDlgItem(dialog, IDCANCEL)));
    // A box with only an OK button may ignore the cancel; closing it works for every other dialog.
    PostMessageA(dialog, WM_CLOSE, 0, 0);
}

const UINT end_message = RegisterWindowMessageA("Scrivel test harness: end the dialog");

INT_PTR CALLBACK ending_procedure(HWND dialog, UINT message, WPARAM, LPARAM) {
    if (message != end_message) return FALSE;
    EndDialog(dialog, IDCANCEL);
    return TRUE;
}

// For a dialog that ignores every cancel: its own thread ends it through a procedure of ours.
void end(HWND dialog) {
    SetWindowLongPtrA(dialog, DWLP_DLGPROC, reinterpret_cast<LONG_PTR>(ending_procedure));
    PostMessageA(dialog, end_message, 0, 0);
}

}  // namespace

struct DialogAnswerer::State {
    DWORD thread = GetCurrentThreadId();
    std::chrono::milliseconds patience;
    std::atomic<bool> stop{false};
    mutable std::mutex lock;
    Answer draft;  // the preparations announced for the next press
    std::deque<Answer> pending;
    std::vector<SeenDialog> seen;
    int unexpected = 0;
    std::map<HWND, Tracked> met;
    std::thread watchdog;

    void look_once() {
        std::unique_lock guard(lock);
        // A handle may be reused by a later dialog once the answered one is gone.
        std::erase_if(met, [](const auto& entry) { return !IsWindow(entry.first); });
        guard.unlock();
        for (HWND dialog : thread_windows(thread)) {
            if (class_of(dialog) != "#32770") continue;
            guard.lock();
            Tracked& tracked = met.try_emplace(dialog).first->second;
            const Tracked now_tracked = tracked;
            guard.unlock();
            const auto waited = std::chrono::steady_clock::now() - now_tracked.since;
            if (now_tracked.stage != Tracked::waiting) {
                if (now_tracked.stage == Tracked::ended || waited < patience) continue;
                guard.lock();
                if (now_tracked.stage == Tracked::answered) ++unexpected;
                tracked = {now_tracked.stage == Tracked::answered ? Tracked::cancelled : Tracked::ended};
                guard.unlock();
                now_tracked.stage == Tracked::answered ? cancel(dialog) : end(dialog);
                continue;
            }
            // Asked without the lock: the test's thread answers these while it waits in the dialog,
            // and it may itself be waiting for the lock in seen().
            const std::string title = text_of(dialog), text = message_text(dialog);
            guard.lock();
            const bool expected =
                !pending.empty() && (pending.front().title.empty() || pending.front().title == title);
            if (!expected && waited < patience) {
                guard.unlock();
                continue;
            }
            Answer answer{title, {}, IDCANCEL};
            if (expected) {
                answer = std::move(pending.front());
                pending.pop_front();
            } else {
                ++unexpected;
            }
            seen.push_back({title, text, answer.button, expected});
            tracked = {expected ? Tracked::answered : Tracked::cancelled};
            guard.unlock();
            if (!expected) {
                cancel(dialog);
                continue;
            }
            for (const Preparation& preparation : answer.preparations) prepare(dialog, preparation);
            PostMessageA(dialog, WM_COMMAND, MAKEWPARAM(answer.button, BN_CLICKED),
                         reinterpret_cast<LPARAM>(GetDlgItem(dialog, answer.button)));
        }
    }

    DialogAnswerer& announce(DialogAnswerer& answerer, std::string title, Preparation preparation) {
        std::lock_guard guard(lock);
        draft.title = std::move(title);
        draft.preparations.push_back(std::move(preparation));
        return answerer;
    }
};

DialogAnswerer::DialogAnswerer(std::chrono::milliseconds patience) : state(std::make_shared<State>()) {
    state->patience = patience;
    state->watchdog = std::thread([s = state] {
        for (; !s->stop; std::this_thread::sleep_for(std::chrono::milliseconds(20))) s->look_once();
    });
}

DialogAnswerer::~DialogAnswerer() {
    state->stop = true;
    state->watchdog.join();
}

DialogAnswerer& DialogAnswerer::set_text(std::string title, int control, std::string text) {
    return state->announce(*this, std::move(title), {Preparation::set_text, control, std::move(text)});
}

DialogAnswerer& DialogAnswerer::tick(std::string title, int control, bool ticked) {
    return state->announce(*this, std::move(title), {Preparation::tick, control, ticked ? "1" : ""});
}

DialogAnswerer& DialogAnswerer::fill_file_name(std::string title, std::string path, int button) {
    state->announce(*this, title, {Preparation::file_name, 0, std::move(path)});
    return press(std::move(title), button);
}

DialogAnswerer& DialogAnswerer::press(std::string title, int button) {
    std::lock_guard guard(state->lock);
    Answer answer = std::exchange(state->draft, {});
    answer.title = std::move(title);
    answer.button = button;
    state->pending.push_back(std::move(answer));
    return *this;
}

std::vector<SeenDialog> DialogAnswerer::seen() const {
    std::lock_guard guard(state->lock);
    return state->seen;
}

bool DialogAnswerer::all_answered() const {
    std::lock_guard guard(state->lock);
    return state->pending.empty();
}

int DialogAnswerer::unexpected() const {
    std::lock_guard guard(state->lock);
    return state->unexpected;
}

}  // namespace harness
