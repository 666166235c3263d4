#pragma once
// Answers the modal dialogs (message boxes, file dialogs) that the test's thread opens, from a
// watchdog thread, so that code which blocks in a dialog can be tested and no test can hang.
#include <windows.h>

#include <chrono>
#include <memory>
#include <string>
#include <vector>

namespace harness {

// One dialog the watchdog met: its title, the text of a message box (empty for other dialogs)
// and the button it pressed.
struct SeenDialog {
    std::string title;
    std::string text;
    int button = 0;
    bool expected = false;
};

// Watches the dialogs of the thread that constructs it, for as long as it lives. Expected dialogs
// are answered in the order they were announced; a dialog whose title does not match the next
// announcement, or that comes when none is left, is cancelled after `patience` and counted as
// unexpected. A dialog still open `patience` after its answer is cancelled, and one that ignores
// the cancel is ended, so that no test waits on a dialog for good; both count as unexpected.
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
    std::vector<SeenDialog> seen() const;
    // Whether every announced dialog came and was answered.
    bool all_answered() const;
    // How many dialogs came unannounced or stayed open after their answer.
    int unexpected() const;

private:
    struct State;
    std::shared_ptr<State> state;
};

}  // namespace harness
