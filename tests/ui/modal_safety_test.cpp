// A pad window closed in every way while a question of its own is open, and what saves may replace.
#include "pad_window_fixture.h"

#include "storage/file_faults.h"

#include <functional>
#include <optional>
#include <utility>

namespace {

// What the test does once the box titled `awaited` is up, and the button it then presses there.
const char* awaited = nullptr;
std::function<void()> pending;
int pressed = 0;

void CALLBACK act_on_question(HWND, UINT, UINT_PTR timer, DWORD) {
    const HWND box = FindWindowA("#32770", awaited);
    if (!box) return;
    KillTimer(nullptr, timer);
    std::exchange(pending, nullptr)();
    if (IsWindow(box)) PostMessageA(box, WM_COMMAND, pressed, 0);
}

// Runs in the question's own modal loop, as the user's other actions would.
void during_question(const char* title, std::function<void()> act, int button) {
    awaited = title;
    pending = std::move(act);
    pressed = button;
    SetTimer(nullptr, 0, 20, act_on_question);
}

class ModalSafety : public PadWindowTest {};

}  // namespace

TEST_F(ModalSafety, AWindowClosedWhileItsNewerFileQuestionIsOpenNeitherCrashesNorStays) {
    enum Act { quit_elsewhere, end_session, close_box, close_syncing_window, nothing };
    const struct {
        Act act;
        std::optional<bool> opens;  // the answer is honoured; either after a quit, whose message
                                    // ends the box on Windows and not under Wine
        bool other_stays;
        int answer = IDYES;
    } cases[] = {
        {quit_elsewhere, std::nullopt, false},
        {end_session, false, true},
        {close_box, true, true},
        {close_syncing_window, true, false},
        {nothing, false, true, IDNO},
    };
    for (const auto& c : cases) {
        harness::DialogAnswerer watchdog;
        MainWindow* other = open(write_pad("other.nib", {"other"}));
        const HWND other_window = other->hwnd;
        const std::string newer = write_newer_pad("newer.nib", {"from the future"});
        during_question("Newer file", [&] {
            const HWND asking = FindWindowA("Scrivel", "newer.nib");
            switch (c.act) {
            case quit_elsewhere: SendMessageA(other_window, WM_COMMAND, CMD_QUIT, 0); break;
            case end_session: SendMessageA(asking, WM_ENDSESSION, TRUE, 0); break;
            case close_box: SendMessageA(asking, WM_CLOSE, 0, 0); break;
            case close_syncing_window: SendMessageA(other_window, WM_CLOSE, 0, 0); break;
            case nothing: break;
            }
            EXPECT_TRUE(IsWindow(asking)) << c.act << ": the window waits for its question";
        }, c.answer);
        if (c.act == close_syncing_window) {
            EXPECT_EQ(SendMessageA(other_window, WM_SYNCWITH, reinterpret_cast<WPARAM>(newer.c_str()), 0), 1);
        } else {
            try {
                open(newer);
            } catch (const silent_exception&) {
            }
        }
        const HWND opened = FindWindowA("Scrivel", "newer.nib");
        EXPECT_EQ(opened != nullptr, c.opens.value_or(opened != nullptr)) << c.act;
        EXPECT_EQ(IsWindow(other_window) != FALSE, c.other_stays) << c.act;
        EXPECT_EQ(app->windows.size(), (opened ? 1u : 0u) + (c.other_stays ? 1u : 0u)) << c.act;
        if (opened) {
            EXPECT_EQ(window_of(opened)->padChanged, 0) << c.act << ": nothing synchronised into it";
        }
        EXPECT_EQ(take_quit_message(), c.act == quit_elsewhere) << c.act;
        close_all();
    }
}

TEST_F(ModalSafety, SavesReplaceWhatTheUserChoseToReplaceAndNeverDropANewerVersionsFile) {
    const std::string replaced = write_pad("replaced.nib", {"old"}), own = write_pad("own.nib", {"own"});
    // A new pad saved over another file replaces it.
    MainWindow* fresh = new_pad();
    type_into(fresh, "new");
    answers.fill_file_name("", replaced).press("", IDYES);
    EXPECT_EQ(command(fresh, CMD_SAVE), 1);
    EXPECT_EQ(nib_texts(read_pad_file(replaced).pad), (std::vector<std::string>{"new"}));

    // Save As onto the window's own file takes in what was written there meanwhile.
    MainWindow* window = open(own);
    write_pad("own.nib", {"elsewhere"});
    answers.fill_file_name("", own).press("", IDYES);
    EXPECT_EQ(command(window, CMD_SAVE_AS), 1);
    EXPECT_EQ(sorted_nib_texts(read_pad_file(own).pad), (std::vector<std::string>{"elsewhere", "own"}));

    // A file a newer version rewrote is not merged at activation, and a save asks before it replaces it.
    write_newer_pad("own.nib", {"future"});
    const std::string future = file_text(own);
    SendMessageA(window->hwnd, WM_ACTIVATE, WA_ACTIVE, 0);
    EXPECT_EQ(window->pad.count(), 2);
    type_into(window, "more ");
    answers.press("Newer file", IDNO);
    EXPECT_EQ(command(window, CMD_SAVE), 0);
    EXPECT_EQ(file_text(own), future);

    // A merge that succeeded shows, even when the write after it fails.
    write_pad("own.nib", {"merged"});
    file_faults::arm({1});
    MessageCapture capture;
    command(window, CMD_SAVE);
    EXPECT_EQ(capture.shown.size(), 1u);
    file_faults::arm({});
    EXPECT_EQ(text_of(window->statusLabel), "1 of 3");
}
