// The find field, the text field and the arrow buttons inside a small stand-in for the main
// window, driven with real keys and with the messages of mouse clicks; the shell is stubbed.
#include "harness/dialog_answerer.h"
#include "harness/input.h"
#include "harness/window_test.h"
#include "support/texts.h"
#include "ui/button_window.h"
#include "ui/magic_click_window.h"
#include "ui/main_window.h"
#include "ui/search_window.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace {

using namespace std::chrono_literals;

// Records what the fields tell the main window.
class TestParent : public Window {
public:
    TestParent() : Window(nullptr) {
        registerClass("ScrivelFieldTestParent", COLOR_3DFACE);
        createWindow(0, "ScrivelFieldTestParent", "fields", WS_OVERLAPPEDWINDOW | WS_VISIBLE, 40, 40, 700, 500,
                     nullptr);
    }

    LRESULT handleMessage(UINT message, WPARAM wParam, LPARAM lParam) override {
        // Commands and clicks; the edit controls' notifications carry a code of their own.
        if (message == WM_COMMAND && HIWORD(wParam) == 0) commands.push_back(wParam);
        if (message == WM_FOLLOWLINK) followed.push_back(reinterpret_cast<const char*>(wParam));
        return Window::handleMessage(message, wParam, lParam);
    }

    std::vector<WPARAM> commands;
    std::vector<std::string> followed;
};

class FieldControls : public harness::WindowTest {
protected:
    void SetUp() override {
        parent = new TestParent;
        textField = new MagicClickWindow(parent, textFieldId);
        findField = new SearchWindow(parent, textField, findFieldId);
        nextButton = new ButtonWindow(parent, nextButtonId);
        MoveWindow(findField->hwnd, 10, 10, 600, 24, TRUE);
        MoveWindow(textField->hwnd, 10, 40, 600, 300, TRUE);
        MoveWindow(nextButton->hwnd, 10, 350, 40, 30, TRUE);
        oldShellOpen = MagicClickWindow::setShellOpen([this](HWND, const std::string& file, int show) {
            shellFiles.push_back(file);
            shellShows.push_back(show);
            return shellWorks;
        });
        ASSERT_TRUE(harness::bring_to_front(parent->hwnd));
    }
    void TearDown() override {
        MagicClickWindow::setShellOpen(oldShellOpen);
        DestroyWindow(parent->hwnd);
        EXPECT_TRUE(windowMap.empty()) << "a control's object outlived its window";
        harness::WindowTest::TearDown();
    }

    TestParent* parent = nullptr;
    MagicClickWindow* textField = nullptr;
    SearchWindow* findField = nullptr;
    ButtonWindow* nextButton = nullptr;
    MagicClickWindow::ShellOpen oldShellOpen;
    std::vector<std::string> shellFiles;  // what the text field handed to the shell
    std::vector<int> shellShows;
    bool shellWorks = true;
};

TEST_F(FieldControls, FindFieldKeysGoToTheTextFieldOrTheNextCommand) {
    std::string lines;
    for (int i = 0; i < 200; ++i) lines += "line " + std::to_string(i) + "\r\n";
    SetWindowTextA(textField->hwnd, lines.c_str());
    const struct {
        WORD key;
        HWND focus;
        std::vector<WPARAM> commands;
        bool scrolled;
    } cases[] = {
        {VK_RETURN, findField->hwnd, {53}, false},
        {VK_NEXT, findField->hwnd, {}, true},
        {VK_TAB, textField->hwnd, {}, false},
    };
    for (const auto& c : cases) {
        SetFocus(findField->hwnd);
        SendMessageA(textField->hwnd, EM_SETSEL, 0, 0);
        SendMessageA(textField->hwnd, EM_SCROLLCARET, 0, 0);
        parent->commands.clear();
        harness::press_key(c.key);
        harness::pump_for(150ms);
        EXPECT_EQ(GetFocus(), c.focus) << c.key;
        EXPECT_EQ(parent->commands, c.commands) << c.key;
        EXPECT_EQ(SendMessageA(textField->hwnd, EM_GETFIRSTVISIBLELINE, 0, 0) > 0, c.scrolled) << c.key;
    }
    // Tab, Enter and line feed characters never reach the single-line control; others do.
    for (WPARAM character : {'\t', '\r', '\n', 'a'}) SendMessageA(findField->hwnd, WM_CHAR, character, 1);
    std::string query;
    findField->getText(query);
    EXPECT_EQ(query, "a");
}

TEST_F(FieldControls, QuickDoubleClickOnAButtonIsTwoPresses) {
    // What the system sends for a double click; synthesised mouse input is timed unreliably under Wine.
    for (UINT message : {WM_LBUTTONDOWN, WM_LBUTTONUP, WM_LBUTTONDBLCLK, WM_LBUTTONUP})
        PostMessageA(nextButton->hwnd, message, message == WM_LBUTTONUP ? 0 : MK_LBUTTON, MAKELPARAM(20, 15));
    harness::pump_for(200ms);
    EXPECT_EQ(parent->commands, (std::vector<WPARAM>{nextButtonId, nextButtonId}));
}

// Only links reach the shell; other words search the pad; code runs only after a Yes.
TEST_F(FieldControls, CtrlClickFollowsLinksAndSearchesForOtherWords) {
    const char* const words[] = {"notepad", "http://example.org/a+b", "ann@example.org", "C:\\tools\\run.exe",
                                 "C:\\Notes\\plan.txt", "www.example.com"};
    std::string text;
    for (const char* word : words) text += std::string("see ") + word + "\r\n";
    SetWindowTextA(textField->hwnd, text.c_str());
    const std::string ask = "C:\\tools\\run.exe may start a program or run a script. Open it anyway?";
    const struct {
        int word;
        bool shellWorks;
        int answer;  // to the box, 0 for none
        const char* boxTitle;
        std::string boxText;
        std::vector<std::string> shell;  // files handed to the shell
        int show;
        std::vector<std::string> followed;
    } cases[] = {  // no word twice in a row: two clicks on one spot would make a double click
        {0, true, 0, nullptr, {}, {}, 0, {"notepad"}},
        {2, true, 0, nullptr, {}, {"mailto:ann@example.org"}, SW_SHOW, {}},
        {1, true, 0, nullptr, {}, {"http://example.org/a b"}, SW_SHOWNORMAL, {}},
        {2, false, IDOK, "Unexpected error", texts.mail_failed, {"mailto:ann@example.org"}, SW_SHOW, {}},
        {3, true, IDNO, "Open link", ask, {}, 0, {}},
        {4, false, 0, nullptr, {}, {"C:\\Notes\\plan.txt"}, SW_SHOWNORMAL, {"C:\\Notes\\plan.txt"}},
        {3, true, IDYES, "Open link", ask, {"C:\\tools\\run.exe"}, SW_SHOWNORMAL, {}},
        {5, true, 0, nullptr, {}, {"http://www.example.com"}, SW_SHOWNORMAL, {}},
    };
    for (const auto& c : cases) {
        shellFiles.clear();
        shellShows.clear();
        parent->followed.clear();
        shellWorks = c.shellWorks;
        harness::DialogAnswerer answerer(300ms);
        if (c.answer) answerer.press(c.boxTitle, c.answer);
        const LRESULT at = SendMessageA(textField->hwnd, EM_POSFROMCHAR, text.find(words[c.word]) + 1, 0);
        // The click's messages themselves: synthesised mouse input lands unreliably under Wine.
        const LPARAM point = MAKELPARAM(LOWORD(at) + 2, HIWORD(at) + 4);
        PostMessageA(textField->hwnd, WM_LBUTTONDOWN, MK_LBUTTON | MK_CONTROL, point);
        PostMessageA(textField->hwnd, WM_LBUTTONUP, MK_CONTROL, point);
        harness::pump_until([&] { return !shellFiles.empty() || !parent->followed.empty(); }, 1s);
        harness::pump_for(100ms);
        const std::string name = words[c.word];
        EXPECT_EQ(shellFiles, c.shell) << name;
        EXPECT_EQ(shellShows, std::vector<int>(c.shell.size(), c.show)) << name;
        EXPECT_EQ(parent->followed, c.followed) << name;
        const auto seen = answerer.seen();
        ASSERT_EQ(seen.size(), c.answer ? 1u : 0u) << name;
        if (c.answer) {
            EXPECT_EQ(seen[0].text, c.boxText);
        }
    }
    // A plain double click selects a whole link as well, whatever the control's own word rule.
    const LRESULT at = SendMessageA(textField->hwnd, EM_POSFROMCHAR, text.find(words[1]) + 9, 0);
    SendMessageA(textField->hwnd, WM_LBUTTONDBLCLK, MK_LBUTTON, MAKELPARAM(LOWORD(at) + 2, HIWORD(at) + 4));
    EXPECT_EQ(textField->selectedText(), words[1]);
}

}  // namespace
