#include "harness/dialog_answerer.h"

#include <atomic>
#include <deque>
#include <map>
#include <mutex>
#include <set>
#include <thread>

namespace harness {

namespace {

struct Answer {
    std::string title;
    std::string file_name;
    bool fill = false;
    int button = 0;
};

// Asks the dialog's thread, which sits in the dialog's modal loop, and never waits long for it.
std::string text_of(HWND window) {
    char buffer[2048] = {};
    DWORD_PTR copied = 0;
    if (!SendMessageTimeoutA(window, WM_GETTEXT, sizeof buffer, reinterpret_cast<LPARAM>(buffer), SMTO_ABORTIFHUNG,
                             1000, &copied))
        return {};
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
    HWND field = GetDlgItem(dialog, 1148);
    if (!field) field = GetDlgItem(dialog, 1152);
    if (!field) return;
    DWORD_PTR ignored = 0;
    SendMessageTimeoutA(field, WM_SETTEXT, 0, reinterpret_cast<LPARAM>(path.c_str()), SMTO_ABORTIFHUNG, 1000,
                        &ignored);
}

void press_button(HWND dialog, int button) {
    PostMessageA(dialog, WM_COMMAND, MAKEWPARAM(button, BN_CLICKED), reinterpret_cast<LPARAM>(GetDlgItem(dialog, button)));
}

std::vector<HWND> open_dialogs(DWORD thread) {
    std::vector<HWND> found;
    EnumThreadWindows(
        thread,
        [](HWND window, LPARAM list) -> BOOL {
            if (IsWindowVisible(window) && class_of(window) == "#32770")
                reinterpret_cast<std::vector<HWND>*>(list)->push_back(window);
            return TRUE;
        },
        reinterpret_cast<LPARAM>(&found));
    return found;
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
    std::set<HWND> answered;
    std::map<HWND, std::chrono::steady_clock::time_point> waiting;
    std::thread watchdog;

    void watch() {
        while (!stop) {
            look_once();
            std::this_thread::sleep_for(std::chrono::milliseconds(20));
        }
    }

    void look_once() {
        std::unique_lock guard(lock);
        // A handle may be reused by a later dialog once the answered one is gone.
        std::erase_if(answered, [](HWND dialog) { return !IsWindow(dialog); });
        std::erase_if(waiting, [](const auto& entry) { return !IsWindow(entry.first); });
        guard.unlock();
        for (HWND dialog : open_dialogs(thread)) {
            guard.lock();
            const bool done = answered.count(dialog) != 0;
            guard.unlock();
            if (done) continue;
            // Asked without the lock: the test's thread answers these while it waits in the dialog,
            // and it may itself be waiting for the lock in seen().
            const std::string title = text_of(dialog);
            const std::string text = message_text(dialog);
            guard.lock();
            if (!pending.empty() && (pending.front().title.empty() || pending.front().title == title)) {
                const Answer answer = pending.front();
                pending.pop_front();
                seen.push_back({title, text, answer.button, true});
                answered.insert(dialog);
                waiting.erase(dialog);
                guard.unlock();
                if (answer.fill) set_file_name(dialog, answer.file_name);
                press_button(dialog, answer.button);
                continue;
            }
            const auto now = std::chrono::steady_clock::now();
            const auto first = waiting.emplace(dialog, now).first->second;
            if (now - first < patience) {
                guard.unlock();
                continue;
            }
            seen.push_back({title, text, IDCANCEL, false});
            ++unexpected;
            answered.insert(dialog);
            waiting.erase(dialog);
            guard.unlock();
            press_button(dialog, IDCANCEL);
            // A box with only an OK button may ignore the cancel; closing it works for every dialog.
            PostMessageA(dialog, WM_CLOSE, 0, 0);
        }
    }
};

DialogAnswerer::DialogAnswerer(std::chrono::milliseconds patience) : state(std::make_shared<State>()) {
    state->patience = patience;
    state->watchdog = std::thread([s = state] { s->watch(); });
}

DialogAnswerer::~DialogAnswerer() {
    state->stop = true;
    state->watchdog.join();
}

DialogAnswerer& DialogAnswerer::press(std::string title, int button) {
    std::lock_guard guard(state->lock);
    state->pending.push_back({std::move(title), {}, false, button});
    return *this;
}

DialogAnswerer& DialogAnswerer::fill_file_name(std::string title, std::string path, int button) {
    std::lock_guard guard(state->lock);
    state->pending.push_back({std::move(title), std::move(path), true, button});
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
