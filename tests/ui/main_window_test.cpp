// The pad window driven as a user and the program's other parts drive it: real windows, real
// files, the real Application; dialogs are answered by the harness.
#include "pad_window_fixture.h"

#include "harness/dialog_answerer.h"
#include "harness/input.h"
#include "support/util.h"
#include "ui/command_ids.h"
#include "ui/copy_data.h"
#include "ui/layout.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>

using namespace std::chrono_literals;

namespace {

bool grayed(HMENU menu, unsigned id) { return (GetMenuState(menu, id, MF_BYCOMMAND) & MF_GRAYED) != 0; }

// The popup at `position` of the window's menu bar, brought up to date as opening it would.
HMENU popup(MainWindow* window, int position) {
    HMENU menu = GetSubMenu(GetMenu(window->hwnd), position);
    SendMessageA(window->hwnd, WM_INITMENUPOPUP, reinterpret_cast<WPARAM>(menu), MAKELPARAM(position, 0));
    return menu;
}

}  // namespace

TEST_F(PadWindowTest, AnEditIsStoredBeforeNavigationAndOnlyTheEditedNibIsStamped) {
    MainWindow* window = open(write_pad("edit.nib", {"one", "two", "three"}));
    const Timestamp first = window->pad.nibs()[0].time, second = window->pad.nibs()[1].time;
    SendMessageA(window->textField->hwnd, EM_SETSEL, 3, 3);
    type_into(window, " more");
    EXPECT_EQ(window->textChanged, 1);
    command(window, CMD_NEXT);
    EXPECT_EQ(window->pad.nibs()[0].text(), "one more");
    EXPECT_NE(window->pad.nibs()[0].time, first);
    EXPECT_EQ(window->padChanged, 1);
    EXPECT_EQ(text_of(window->textField), "two");
    command(window, CMD_NEXT);
    EXPECT_EQ(window->pad.nibs()[1].time, second) << "paging past a nib does not stamp it";

    // Delete Nib takes unsaved typing with the nib; New Nib adds an empty nib at the end.
    type_into(window, "lost");
    command(window, CMD_DELETE_NIB);
    EXPECT_EQ(nib_texts(window->pad), (std::vector<std::string>{"one more", "two"}));
    command(window, CMD_NEW_NIB);
    EXPECT_EQ(window->pad.count(), 3);
    EXPECT_EQ(text_of(window->textField), "");
    EXPECT_EQ(GetFocus(), window->textField->hwnd);
}

TEST_F(PadWindowTest, PagingWrapsAtBothEndsAndTheMenusAndButtonsFollowThePosition) {
    MainWindow* window = open(write_pad("pages.nib", {"a", "b", "c"}));
    const struct {
        unsigned command;
        const char* shown;
        const char* label;
    } steps[] = {
        {CMD_PREVIOUS, "c", "3 of 3"}, {CMD_NEXT, "a", "1 of 3"},        {CMD_NEXT_BUTTON, "b", "2 of 3"},
        {CMD_LAST, "c", "3 of 3"},     {CMD_NEXT_BUTTON, "a", "1 of 3"}, {CMD_PREVIOUS_BUTTON, "c", "3 of 3"},
        {CMD_FIRST, "a", "1 of 3"},
    };
    for (const auto& step : steps) {
        command(window, step.command);
        EXPECT_EQ(text_of(window->textField), step.shown) << step.command;
        EXPECT_EQ(text_of(window->statusLabel), step.label) << step.command;
    }
    // At the first nib: nothing leads further back, and the arrange commands cannot move it forward.
    EXPECT_FALSE(IsWindowEnabled(window->prevButton));
    EXPECT_TRUE(IsWindowEnabled(window->nextButton));
    HMENU go = popup(window, 2), arrange = popup(window, 3);
    EXPECT_TRUE(grayed(go, CMD_FIRST) && grayed(go, CMD_PREVIOUS));
    EXPECT_FALSE(grayed(go, CMD_LAST) || grayed(go, CMD_NEXT));
    EXPECT_TRUE(grayed(arrange, CMD_PUT_FIRST) && grayed(arrange, CMD_MOVE_TOWARDS_BEGINNING));
    EXPECT_FALSE(grayed(arrange, CMD_PUT_LAST) || grayed(arrange, CMD_ORDER_ALPHABETICALLY));

    command(window, CMD_LAST);
    EXPECT_TRUE(IsWindowEnabled(window->prevButton));
    EXPECT_FALSE(IsWindowEnabled(window->nextButton));
    go = popup(window, 2);
    EXPECT_TRUE(grayed(go, CMD_LAST) && grayed(go, CMD_NEXT));
    EXPECT_FALSE(grayed(go, CMD_FIRST) || grayed(go, CMD_PREVIOUS));

    // Arranging marks the pad changed even when nothing moves.
    command(window, CMD_PUT_LAST);
    EXPECT_EQ(window->padChanged, 1);
    command(window, CMD_PUT_FIRST);
    EXPECT_EQ(nib_texts(window->pad), (std::vector<std::string>{"c", "a", "b"}));
}

TEST_F(PadWindowTest, ClosingAsksOrSavesByItselfAndCollectsTheReopenList) {
    const std::string a = write_pad("a.nib", {"a"}), b = write_pad("b.nib", {"b"}), c = write_pad("c.nib", {"c"});
    const std::string before = file_text(b);
    {
        // A new pad always asks; Cancel keeps it open, No closes it without remembering anything.
        harness::DialogAnswerer answerer;
        answerer.press("Save changes?", IDCANCEL).press("Save changes?", IDNO);
        MainWindow* fresh = window_of(app->newPad(SW_SHOWNORMAL));
        type_into(fresh, "draft");
        EXPECT_EQ(SendMessageA(fresh->hwnd, WM_CLOSE, 0, 0), 0);
        EXPECT_EQ(app->windows.size(), 1u);
        EXPECT_EQ(SendMessageA(fresh->hwnd, WM_CLOSE, 0, 0), 1);
        EXPECT_TRUE(answerer.all_answered());
        EXPECT_EQ(answerer.seen()[0].text, "Save changes before closing New Pad?");
    }
    EXPECT_TRUE(app->windows.empty());
    EXPECT_EQ(app->restartCommand, "");

    MainWindow* wa = open(a);
    MainWindow* wb = open(b);
    MainWindow* wc = open(c);
    // Autosave on and a file: saved without a question.
    type_into(wa, "saved ");
    EXPECT_EQ(SendMessageA(wa->hwnd, WM_CLOSE, 0, 0), 1);
    EXPECT_EQ(nib_texts(read_pad_file(a).pad), (std::vector<std::string>{"saved a"}));
    SendMessageA(wc->hwnd, WM_CLOSE, 0, 0);
    // Autosave off: the question; No closes without saving.
    app->autosave = 0;
    harness::DialogAnswerer answerer;
    answerer.press("Save changes?", IDNO);
    type_into(wb, "dropped ");
    EXPECT_EQ(SendMessageA(wb->hwnd, WM_CLOSE, 0, 0), 1);
    EXPECT_EQ(file_text(b), before);
    EXPECT_EQ(app->restartCommand,
              "\"" + short_path(b) + "\" \"" + short_path(c) + "\" \"" + short_path(a) + "\" ");

    // A new window starts the list anew.
    open(a);
    EXPECT_EQ(app->restartCommand, "");
}

TEST_F(PadWindowTest, SavingWritesOnlyWhatChangedAndAFailedSaveAtLogOffKeepsTheSession) {
    const std::string path = write_pad("save.nib", {"kept"});
    MainWindow* window = open(path);
    std::filesystem::last_write_time(path, std::filesystem::file_time_type::clock::now() - 1h);
    const auto stamp = std::filesystem::last_write_time(path);
    EXPECT_EQ(command(window, CMD_SAVE), 1);
    EXPECT_EQ(std::filesystem::last_write_time(path), stamp) << "an unchanged pad is not written";
    type_into(window, "new ");
    EXPECT_EQ(command(window, CMD_SAVE), 1);
    EXPECT_EQ(window->padChanged, 0);
    const PadDocument saved = read_pad_file(path);
    EXPECT_EQ(nib_texts(saved.pad), (std::vector<std::string>{"new kept"}));
    EXPECT_TRUE(saved.header.placement && saved.header.font);

    // A new pad at log-off with Autosave off: Yes, then the Save As dialog is cancelled.
    app->autosave = 0;
    MainWindow* fresh = window_of(app->newPad(SW_SHOWNORMAL));
    type_into(fresh, "unsaved");
    harness::DialogAnswerer answerer;
    answerer.press("Save changes?", IDYES).press("", IDCANCEL);
    EXPECT_EQ(SendMessageA(fresh->hwnd, WM_QUERYENDSESSION, 0, 0), FALSE);
    EXPECT_TRUE(answerer.all_answered());
}

TEST_F(PadWindowTest, HandOverRequestsFindOpenOnceAndSynchronise) {
    const std::string a = write_pad("one.nib", {"apple", "banana", "apple pie"});
    const std::string b = write_pad("two.nib", {"cherry"});
    MainWindow* window = open(a);
    // The same pad, asked for in another letter case, is not opened twice.
    std::string other_case = a;
    for (char& c : other_case) c = static_cast<char>(std::toupper(static_cast<unsigned char>(c)));
    EXPECT_EQ(app->sendCopyData(window->hwnd, copyOpenPad, other_case), reinterpret_cast<LRESULT>(window->hwnd));
    EXPECT_EQ(app->windows.size(), 1u);

    // A find text without its zero is read within the record's size.
    const char find[] = {'a', 'p', 'p', 'X'};
    COPYDATASTRUCT record{copyFind, 3, const_cast<char*>(find)};
    EXPECT_EQ(SendMessageA(window->hwnd, WM_COPYDATA, 0, reinterpret_cast<LPARAM>(&record)), 1);
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
    EXPECT_EQ(app->sendCopyData(window->hwnd, copySync, b), 1);
    ASSERT_EQ(app->windows.size(), 2u);
    EXPECT_EQ(nib_texts(window->pad), nib_texts(app->windows[1]->pad));

    // Missing files are never taken for one another: the default pad before its first save has a
    // file name but no file.
    auto* unsaved = new MainWindow(SW_SHOWNORMAL, dir.path() + "Default Pad.nib");
    EXPECT_EQ(text_of(unsaved->hwnd), "Default Pad.nib");
    for (const std::string& name : {dir.path() + "gone.nib", unsaved->fileName})
        EXPECT_EQ(SendMessageA(unsaved->hwnd, WM_ISYOURPAD, reinterpret_cast<WPARAM>(name.c_str()), 0), 0) << name;
}

TEST_F(PadWindowTest, ANewerFileIsOpenedOnlyWhenTheUserAgrees) {
    const std::string path = write_pad("newer.nib", {"from the future"});
    std::string text = file_text(path);
    text.replace(text.find("FILE_VERSION (4): 1000"), 22, "FILE_VERSION (4): 1001");
    std::ofstream(path, std::ios::binary) << text;
    harness::DialogAnswerer answerer;
    answerer.press("Newer file", IDNO).press("Newer file", IDYES);
    EXPECT_THROW(open(path), silent_exception);
    EXPECT_TRUE(app->windows.empty()) << "no window remains";
    MainWindow* window = open(path);
    EXPECT_EQ(text_of(window->textField), "from the future");
    EXPECT_TRUE(answerer.all_answered());
}

TEST_F(PadWindowTest, ControlsSitWhereTheLayoutPutsThemAndAFullNibIsReportedOnce) {
    MainWindow* window = open(write_pad("layout.nib", {"x"}));
    RECT outer, client;
    GetWindowRect(window->hwnd, &outer);
    GetClientRect(window->hwnd, &client);
    SetWindowPos(window->hwnd, nullptr, 0, 0, outer.right - outer.left + 400 - client.right,
                 outer.bottom - outer.top + 300 - client.bottom, SWP_NOMOVE | SWP_NOZORDER);
    HDC dc = GetDC(window->hwnd);
    auto line = [dc](HFONT font) {
        SelectObject(dc, font);
        TEXTMETRICA metrics;
        GetTextMetricsA(dc, &metrics);
        return static_cast<int>(metrics.tmHeight + metrics.tmExternalLeading);
    };
    const MainLayout expected = layout_main_window(400, 300, 7, 7, line(window->findFont), line(window->labelFont), 96);
    ReleaseDC(window->hwnd, dc);
    auto place_of = [window](HWND control) {
        RECT r;
        GetWindowRect(control, &r);
        MapWindowPoints(nullptr, window->hwnd, reinterpret_cast<POINT*>(&r), 2);
        return ControlPlace{r.left, r.top, r.right - r.left, r.bottom - r.top};
    };
    EXPECT_EQ(place_of(window->findField->hwnd), expected.findField);
    EXPECT_EQ(place_of(window->textField->hwnd), expected.textField);
    EXPECT_EQ(place_of(window->statusLabel), expected.statusLabel);
    EXPECT_EQ(place_of(window->prevButton), expected.prevButton);
    EXPECT_EQ(place_of(window->nextButton), expected.nextButton);
    EXPECT_EQ(app->defaultWinWidth, outer.right - outer.left + 400 - client.right) << "new windows take this size";

    MessageCapture capture;
    SendMessageA(window->hwnd, WM_COMMAND, MAKEWPARAM(textFieldId, EN_MAXTEXT),
                 reinterpret_cast<LPARAM>(window->textField->hwnd));
    ASSERT_EQ(capture.shown.size(), 1u);
    EXPECT_EQ(capture.shown[0].title, "Nib is full");
    EXPECT_EQ(capture.shown[0].style, 16u);
    ShowWindow(window->hwnd, SW_MINIMIZE);
    EXPECT_EQ(capture.shown.size(), 1u) << "a minimised window lays out without an error";
}
