// The find field and the text field of a pad window, driven with the messages of keys and mouse
// clicks.
#include "pad_window_fixture.h"

using namespace std::chrono_literals;

class FieldControls : public PadWindowTest {};

// Enter in the find field shows the next found nib. The key's message itself: synthesised input
// is timed unreliably under Wine.
TEST_F(FieldControls, EnterInTheFindFieldMovesOn) {
    MainWindow* window = open(write_pad("keys.nib", {"a", "b"}));
    SendMessageA(window->findField->hwnd, WM_KEYDOWN, VK_RETURN, 1);
    EXPECT_EQ(text_of(window->statusLabel), "2 of 2");
}

// Only links reach the shell; other words are searched for; code runs only after a Yes.
TEST_F(FieldControls, CtrlClickFollowsLinksAndSearchesForOtherWords) {
    const char* const words[] = {"notepad", "http://example.org/a+b", "ann@example.org", "C:\\tools\\run.exe",
                                 "C:\\Notes\\plan.txt", ""};
    std::string text;
    std::vector<std::size_t> starts;  // of each word; "" is an empty line
    for (const char* word : words) {
        starts.push_back(text.size() + (*word ? 4 : 0));
        text += (*word ? std::string("see ") + word : "") + "\r\n";
    }
    MainWindow* window = open(write_pad("links.nib", {text}));
    HWND field = window->textField->hwnd;
    const std::string ask = "C:\\tools\\run.exe may start a program or run a script. Open it anyway?";
    const struct {
        int word;
        bool shellWorks;
        int answer;  // to the box, 0 for none
        const char* boxTitle;
        std::string boxText;
        Strings shell;  // files handed to the shell
        const char* searched;
    } cases[] = {  // no word twice in a row: two clicks on one spot would make a double click
        {0, true, 0, nullptr, {}, {}, "notepad"},
        {1, true, 0, nullptr, {}, {"http://example.org/a b"}, ""},
        {2, false, IDOK, "Unexpected error", texts.mail_failed, {"mailto:ann@example.org"}, ""},
        {3, true, IDNO, "Open link", ask, {}, ""},
        {4, false, 0, nullptr, {}, {"C:\\Notes\\plan.txt"}, "C:\\Notes\\plan.txt"},
        {3, true, IDYES, "Open link", ask, {"C:\\tools\\run.exe"}, ""},
        {5, true, 0, nullptr, {}, {}, ""},
    };
    size_t boxes = 0;
    for (const auto& c : cases) {
        SendMessageA(window->hwnd, WM_SETFIND, reinterpret_cast<WPARAM>(""), 0);
        shellFiles.clear();
        shellWorks = c.shellWorks;
        if (c.answer) answers.press(c.boxTitle, c.answer);
        const LRESULT at = SendMessageA(field, EM_POSFROMCHAR, starts[c.word] + 1, 0);
        // The click's messages themselves: synthesised mouse input lands unreliably under Wine.
        const LPARAM point = MAKELPARAM(LOWORD(at) + 2, HIWORD(at) + 4);
        PostMessageA(field, WM_LBUTTONDOWN, MK_LBUTTON | MK_CONTROL, point);
        PostMessageA(field, WM_LBUTTONUP, MK_CONTROL, point);
        harness::pump_until([&] { return !shellFiles.empty() || !text_of(window->findField).empty(); }, 1s);
        harness::pump_for(100ms);
        const std::string name = words[c.word];
        EXPECT_EQ(shellFiles, c.shell) << name;
        EXPECT_EQ(text_of(window->findField), c.searched) << name;
        ASSERT_EQ(answers.seen().size(), boxes += c.answer != 0) << name;
        if (c.answer) {
            EXPECT_EQ(answers.seen().back().text, c.boxText);
        }
    }
}
