#pragma once
// Answers the modal dialogs (message boxes, file dialogs) that the test's thread opens, from a
// timer of that thread: a dialog's modal loop dispatches it, so code that blocks in a dialog can
// be tested and no test can hang on one.
#include <windows.h>

#include <chrono>
#include <deque>
#include <map>
#include <string>
#include <vector>

namespace harness {

// One dialog met: its title and the text of a message box (empty for other dialogs).
struct SeenDialog {
    std::string title;
    std::string text;
};

// Watches the dialogs of the thread that constructs it, for as long as it lives. Expected dialogs
// are answered in the order they were announced; a dialog whose title does not match the next
// announcement, or that comes when none is left, is cancelled after `patience` and counted as
// unexpected. A dialog still open `patience` after its answer is cancelled, and counted as
// unexpected too.
class DialogAnswerer {
public:
    explicit DialogAnswerer(std::chrono::milliseconds patience = std::chrono::seconds(5));
    ~DialogAnswerer();
    DialogAnswerer(const DialogAnswerer&) = delete;
    DialogAnswerer& operator=(const DialogAnswerer&) = delete;

    // Before the button of the next announced dialog titled `title`: puts `text` into its control
    // `control`, or ticks (or clears) its check box `control`. Each call adds to the same answer
    // until press.
    DialogAnswerer& set_text(std::string title, int control, std::string text);
    DialogAnswerer& tick(std::string title, int control, bool ticked = true);
    // The next dialog titled `title` (any title when empty) is answered with the button `button`
    // (IDOK, IDYES, IDNO, IDCANCEL, ...), after the controls set for it.
    DialogAnswerer& press(std::string title, int button);
    // The next dialog titled `title` gets `path` in its file-name field, then the button.
    DialogAnswerer& fill_file_name(std::string title, std::string path, int button = IDOK);

    // What was met so far, in order.
    const std::vector<SeenDialog>& seen() const { return seen_; }
    // Whether every announced dialog came and was answered.
    bool all_answered() const { return pending.empty(); }
    // How many dialogs came unannounced or stayed open after their answer.
    int unexpected() const { return unexpected_; }

private:
    // A control set before the button: a text, or a check box (ticked when `text` is not empty).
    struct Preparation {
        int control;  // 0: the file-name field
        std::string text;
        bool check;
    };
    struct Answer {
        std::vector<Preparation> preparations;
        std::string title;
        int button = 0;
    };
    enum class Stage { waiting, answered, cancelled };
    struct Met {
        Stage stage = Stage::waiting;
        std::chrono::steady_clock::time_point since = std::chrono::steady_clock::now();
    };

    static void CALLBACK on_timer(HWND, UINT, UINT_PTR timer, DWORD);
    void look();
    DialogAnswerer& prepare(std::string title, Preparation preparation);

    std::chrono::milliseconds patience;
    Answer draft;
    std::deque<Answer> pending;
    std::vector<SeenDialog> seen_;
    int unexpected_ = 0;
    std::map<HWND, Met> met;
    bool looking = false;
    UINT_PTR timer;
};

}  // namespace harness
