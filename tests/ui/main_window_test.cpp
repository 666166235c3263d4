// The pad window driven as a user and the program's other parts drive it: real windows, real
// files, the real Application; dialogs are answered by the harness.
#include "pad_window_fixture.h"

#include "ui/copy_data.h"

// Typing is stored (and only the edited nib stamped) before any move; paging wraps at both ends.
TEST_F(PadWindowTest, EditsAreStoredBeforeEachMoveAndPagingWraps) {
    MainWindow* window = open(write_pad("pages.nib", {"a", "b", "c"}));
    const Timestamp b_time = window->pad.nibs()[1].time, c_time = window->pad.nibs()[2].time;
    const struct {
        const char* typed;  // at the start of the text field, before the command
        unsigned command;
        const char* shown;
        const char* label;
        Strings nibs;
    } steps[] = {
        {"x", CMD_PREVIOUS, "c", "3 of 3", {"xa", "b", "c"}},
        {nullptr, CMD_NEXT, "xa", "1 of 3", {"xa", "b", "c"}},
        {nullptr, CMD_LAST, "c", "3 of 3", {"xa", "b", "c"}},
        {"y", CMD_FIRST, "xa", "1 of 3", {"xa", "b", "yc"}},
        {"lost", CMD_DELETE_NIB, "b", "1 of 2", {"b", "yc"}},  // unsaved typing goes with its nib
        {nullptr, CMD_NEW_NIB, "", "3 of 3", {"b", "yc", ""}},
    };
    for (const auto& step : steps) {
        if (step.typed) {
            SendMessageA(window->textField->hwnd, EM_SETSEL, 0, 0);
            type_into(window, step.typed);
        }
        command(window, step.command);
        EXPECT_EQ(text_of(window->textField), step.shown) << step.command;
        EXPECT_EQ(text_of(window->statusLabel), step.label) << step.command;
        EXPECT_EQ(nib_texts(window->pad), step.nibs) << step.command;
    }
    type_into(window, "z");
    EXPECT_EQ(window->pad.nibs()[0].time, b_time) << "paging past a nib does not stamp it";
    EXPECT_NE(window->pad.nibs()[1].time, c_time);
    EXPECT_EQ(window->padChanged, 1);

    // Arranging marks the pad changed even when nothing moves.
    window->padChanged = 0;
    command(window, CMD_PUT_LAST);
    EXPECT_EQ(window->padChanged, 1);
    command(window, CMD_PUT_FIRST);
    EXPECT_EQ(nib_texts(window->pad), (Strings{"z", "b", "yc"}));

    // With one nib found, or none, neither arrow leads anywhere; the match found is selected.
    for (const auto& [query, label] : {std::pair{"zzz", "0 of 0"}, std::pair{"C", "1 of 1"}}) {
        SendMessageA(window->hwnd, WM_SETFIND, reinterpret_cast<WPARAM>(query), 0);
        EXPECT_EQ(text_of(window->statusLabel), label);
        EXPECT_FALSE(IsWindowEnabled(window->prevButton) || IsWindowEnabled(window->nextButton)) << query;
    }
    DWORD start = 0, end = 0;
    SendMessageA(window->textField->hwnd, EM_GETSEL, reinterpret_cast<WPARAM>(&start), reinterpret_cast<LPARAM>(&end));
    EXPECT_EQ(std::pair(start, end), std::pair(DWORD{1}, DWORD{2}));
}

TEST_F(PadWindowTest, ClosingAsksOrSavesByItselfAndCollectsTheReopenList) {
    const std::string a = write_pad("a.nib", {"a"}), b = write_pad("b.nib", {"b"}), c = write_pad("c.nib", {"c"});
    const std::string before = file_text(b);
    MainWindow *wa = open(a), *wb = open(b), *wc = open(c);
    // Autosave on and a file: saved without a question.
    type_into(wa, "saved ");
    EXPECT_EQ(SendMessageA(wa->hwnd, WM_CLOSE, 0, 0), 1);
    EXPECT_EQ(nib_texts(read_pad_file(a).pad), Strings{"saved a"});
    SendMessageA(wc->hwnd, WM_CLOSE, 0, 0);
    // Autosave off: the question; No closes without saving.
    app->autosave = 0;
    answers.press("Save changes?", IDNO);
    type_into(wb, "dropped ");
    EXPECT_EQ(SendMessageA(wb->hwnd, WM_CLOSE, 0, 0), 1);
    EXPECT_EQ(file_text(b), before);
    EXPECT_EQ(answers.seen()[0].text, "Save changes before closing b.nib?");
    EXPECT_EQ(app->restartCommand, "\"" + short_path(b) + "\" \"" + short_path(c) + "\" \"" + short_path(a) + "\" ");
    open(a);
    EXPECT_EQ(app->restartCommand, "") << "a new window starts the list anew";

    // Save on a new pad asks for a name even with nothing typed. At log-off with Autosave off: Yes,
    // then the Save As dialog is cancelled.
    MainWindow* unsaved = new_pad();
    answers.press("", IDCANCEL);
    command(unsaved, CMD_SAVE);
    type_into(unsaved, "unsaved");
    answers.press("Save changes?", IDYES).press("", IDCANCEL);
    EXPECT_EQ(SendMessageA(unsaved->hwnd, WM_QUERYENDSESSION, 0, 0), FALSE);

    // Quit closes the windows in turn and stops at a Cancel; then it ends the program.
    MainWindow* last = open(c);
    type_into(last, "changed ");
    answers.press("Save changes?", IDCANCEL);
    command(app->windows.front(), CMD_QUIT);
    EXPECT_EQ(app->windows, (std::vector<MainWindow*>{unsaved, last}));
    EXPECT_EQ(app->restartCommand, "\"" + short_path(a) + "\" ");
    EXPECT_FALSE(take_quit_message()) << "a cancelled Quit ends nothing";
    answers.press("Save changes?", IDNO).press("Save changes?", IDNO);
    command(app->windows.front(), CMD_QUIT);
    EXPECT_TRUE(app->windows.empty());
    EXPECT_EQ(app->restartCommand, "\"" + short_path(c) + "\" ") << "a new pad is not listed";
    EXPECT_TRUE(take_quit_message());

    // A pad whose file went is not listed either.
    MainWindow* gone = open(b);
    type_into(gone, "gone ");
    std::filesystem::remove(b);
    answers.press("Save changes?", IDNO);
    SendMessageA(gone->hwnd, WM_CLOSE, 0, 0);
    EXPECT_EQ(app->restartCommand, "");
}

TEST_F(PadWindowTest, HandOverRequestsFindOpenOnceAndSynchronise) {
    const std::string a = write_pad("one.nib", {"apple", "banana", "apple pie"});
    MainWindow* window = open(a);
    // The same pad, asked for in another letter case, is not opened twice.
    std::string other_case = a;
    for (char& c : other_case) c = static_cast<char>(std::toupper(static_cast<unsigned char>(c)));
    EXPECT_EQ(app->sendCopyData(window->hwnd, copyOpenPad, other_case), reinterpret_cast<LRESULT>(window->hwnd));
    EXPECT_EQ(app->windows.size(), 1u);

    // A find text is searched for.
    EXPECT_EQ(app->sendCopyData(window->hwnd, copyFind, "app"), 1);
    EXPECT_EQ(text_of(window->findField), "app");
    EXPECT_EQ(text_of(window->statusLabel), "1 of 2");

    // A followed link moves on when more than one nib holds the word, and stays when one does.
    SendMessageA(window->hwnd, WM_FOLLOWLINK, reinterpret_cast<WPARAM>("apple"), 0);
    EXPECT_EQ(text_of(window->textField), "apple pie");
    SendMessageA(window->hwnd, WM_FOLLOWLINK, reinterpret_cast<WPARAM>("banana"), 0);
    EXPECT_EQ(text_of(window->textField), "banana");

    // A pad that cannot be opened: the error is shown there, and the sender gets 1.
    MessageCapture capture;
    EXPECT_EQ(app->sendCopyData(window->hwnd, copyOpenPad, dir.path() + "missing.nib"), 1);
    EXPECT_EQ(capture.shown.size(), 1u);
    EXPECT_EQ(app->windows.size(), 1u);

    // Synchronising as the menu does it (commands_test), the other pad in a window of its own.
    EXPECT_EQ(app->sendCopyData(window->hwnd, copySync, write_pad("two.nib", {"cherry"})), 1);
    ASSERT_EQ(app->windows.size(), 2u);
    EXPECT_EQ(nib_texts(window->pad), nib_texts(app->windows[1]->pad));

    // Missing files are never taken for one another: the default pad before its first save has a
    // file name but no file.
    auto* unsaved = new MainWindow(SW_SHOWNORMAL, dir.path() + "Default Pad.nib");
    for (const std::string& name : {dir.path() + "gone.nib", unsaved->fileName})
        EXPECT_EQ(SendMessageA(unsaved->hwnd, WM_ISYOURPAD, reinterpret_cast<WPARAM>(name.c_str()), 0), 0) << name;
}

TEST_F(PadWindowTest, ResizingSetsTheNewPadSizeAndAFullNibIsReportedOnce) {
    MainWindow* window = open(write_pad("layout.nib", {"x"}));
    SetWindowPos(window->hwnd, nullptr, 0, 0, 432, 321, SWP_NOMOVE | SWP_NOZORDER);
    EXPECT_EQ(app->defaultWinWidth, 432) << "new windows take this size";
    // New fonts in a maximised window leave the default size to restored windows.
    const int height = app->defaultWinHeight;
    ShowWindow(window->hwnd, SW_MAXIMIZE);
    SendMessageA(window->hwnd, WM_NEWFONTS, 0, 0);
    EXPECT_EQ(std::pair(app->defaultWinWidth, app->defaultWinHeight), std::pair(432, height));
    MessageCapture capture;
    SendMessageA(window->hwnd, WM_COMMAND, MAKEWPARAM(textFieldId, EN_MAXTEXT),
                 reinterpret_cast<LPARAM>(window->textField->hwnd));
    ASSERT_EQ(capture.shown.size(), 1u);
    EXPECT_EQ(capture.shown[0].title, "Nib is full");
}
