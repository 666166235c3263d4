#include "harness/dialog_answerer.h"

#include "harness/window_test.h"

#include <atomic>
#include <deque>
#include <map>
#include <mutex>
#include <thread>

namespace harness {

namespace {

struct Answer {
    std::string title;
    std::string file_name;  // typed into the file-name field first, unless empty
    int button = 0;
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

// The file-name field: a combo box (cmb13) in the explorer-style dialogs, an edit (edt1) in others.
void set_file_name(HWND dialog, const std::string& path) {
    HWND field = GetDlgItem(dialog, 1148) ? GetDlgItem(dialog, 1148) : GetDlgItem(dialog, 1152);
    if (field) send(field, WM_SETTEXT, 0, path.c_str());
}

}  // namespace

struct DialogAnswerer::State {
    DWORD thread = GetCurrentThreadId();
    std::chrono::milliseconds patience;
    std::atomic<bool> stop{false};
    mutable std::mutex lock;
    std::deque<Answer> pending;
    std::vector<SeenDialog> seen;
    int unexpected = 0;
    // The open dialogs met so far: when each was first met, and whether it is answered.
    std::map<HWND, std::pair<std::chrono::steady_clock::time_point, bool>> met;
    std::thread watchdog;

    void look_once() {
        std::unique_lock guard(lock);
        // A handle may be reused by a later dialog once the answered one is gone.
        std::erase_if(met, [](const auto& entry) { return !IsWindow(entry.first); });
        guard.unlock();
        for (HWND dialog : thread_windows(thread)) {
            if (class_of(dialog) != "#32770") continue;
            guard.lock();
            const auto [since, answered] = met.try_emplace(dialog, std::chrono::steady_clock::now(), false).first->second;
            guard.unlock();
            if (answered) continue;
            // Asked without the lock: the test's thread answers these while it waits in the dialog,
            // and it may itself be waiting for the lock in seen().
            const std::string title = text_of(dialog), text = message_text(dialog);
            guard.lock();
            const bool expected =
                !pending.empty() && (pending.front().title.empty() || pending.front().title == title);
            if (!expected && std::chrono::steady_clock::now() - since < patience) {
                guard.unlock();
                continue;
            }
            Answer answer{title, {}, IDCANCEL};
            if (expected) {
                answer = pending.front();
                pending.pop_front();
            } else {
                ++unexpected;
            }
            seen.push_back({title, text, answer.button, expected});
            met[dialog].second = true;
            guard.unlock();
            if (!answer.file_name.empty()) set_file_name(dialog, answer.file_name);
            PostMessageA(dialog, WM_COMMAND, MAKEWPARAM(answer.button, BN_CLICKED),
                         reinterpret_cast<LPARAM>(GetDlgItem(dialog, answer.button)));
            // A box with only an OK button may ignore the cancel; closing it works for every dialog.
            if (!expected) PostMessageA(dialog, WM_CLOSE, 0, 0);
        }
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

DialogAnswerer& DialogAnswerer::press(std::string title, int button) {
    return fill_file_name(std::move(title), {}, button);
}

DialogAnswerer& DialogAnswerer::fill_file_name(std::string title, std::string path, int button) {
    std::lock_guard guard(state->lock);
    state->pending.push_back({std::move(title), std::move(path), button});
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
