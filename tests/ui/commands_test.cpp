// Every menu command on a real pad window, as the menu sends it, with its visible effect; the
// dialogs are answered by the harness and the shell is stubbed.
#include "pad_window_fixture.h"

#include "harness/dialog_answerer.h"
#include "harness/input.h"
#include "support/texts.h"
#include "ui/command_ids.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>
#include <functional>
#include <set>

namespace {

using namespace std::chrono_literals;

void set_clipboard(HWND owner, const std::string& text) {
    ASSERT_TRUE(OpenClipboard(owner));
    EmptyClipboard();
    HGLOBAL memory = GlobalAlloc(GMEM_MOVEABLE, text.size() + 1);
    memcpy(GlobalLock(memory), text.c_str(), text.size() + 1);
    GlobalUnlock(memory);
    SetClipboardData(CF_TEXT, memory);
    CloseClipboard();
}

std::string clipboard_text(HWND owner) {
    if (!OpenClipboard(owner)) return "(clipboard busy)";
    std::string text;
    if (HANDLE data = GetClipboardData(CF_TEXT)) {
        text = static_cast<const char*>(GlobalLock(data));
        GlobalUnlock(data);
    }
    CloseClipboard();
    return text;
}

// The command ids of a menu and its popups.
void collect_commands(HMENU menu, std::set<unsigned>& ids) {
    for (int i = 0; i < GetMenuItemCount(menu); ++i) {
        if (HMENU popup = GetSubMenu(menu, i))
            collect_commands(popup, ids);
        else if (const UINT id = GetMenuItemID(menu, i); id != 0 && id != UINT(-1))
            ids.insert(id);
    }
}

// Where the Edit commands act: the focused field and its selection.
void focus_and_select(HWND field, int start, int end) {
    SetFocus(field);
    SendMessageA(field, EM_SETSEL, start, end);
}

}  // namespace

TEST_F(PadWindowTest, EveryMenuCommandHasItsVisibleEffect) {
    const std::string path = dir.path() + "pad.nib";
    const std::string other = write_pad("other.nib", {"other"});
    std::filesystem::create_directory(dir.path() + "My Notes");
    const std::string linked = dir.path() + "My Notes\\x+y%.txt";
    std::ofstream(linked) << "linked";
    std::vector<std::string> shell;
    // Put back however the test ends: the stub refers to this test's locals.
    const struct ShellStub {
        MagicClickWindow::ShellOpen old;
        ~ShellStub() { MagicClickWindow::setShellOpen(old); }
    } stub{MagicClickWindow::setShellOpen([&](HWND, const std::string& file, int) {
        shell.push_back(file);
        return true;
    })};

    struct Row {
        const char* name;
        unsigned command;
        std::function<void(MainWindow*, harness::DialogAnswerer&)> before;
        std::function<void(MainWindow*)> after;
    };
    const Row rows[] = {
        {"Save As", CMD_SAVE_AS,
         [&](MainWindow* w, harness::DialogAnswerer& a) {
             type_into(w, "new ");
             a.fill_file_name("", dir.path() + "as.nib");
         },
         [&](MainWindow* w) {
             EXPECT_EQ(text_of(w->hwnd), "as.nib");
             EXPECT_EQ(w->padChanged, 0);
             EXPECT_EQ(nib_texts(read_pad_file(dir.path() + "as.nib").pad)[0], "new beta");
             EXPECT_EQ(nib_texts(read_pad_file(path).pad)[0], "beta");
         }},
        {"Save a Copy As", CMD_SAVE_COPY_AS,
         [&](MainWindow* w, harness::DialogAnswerer& a) {
             type_into(w, "copy ");
             a.fill_file_name("", dir.path() + "copy.nib");
         },
         [&](MainWindow* w) {
             EXPECT_EQ(text_of(w->hwnd), "pad.nib");
             EXPECT_EQ(w->padChanged, 1);
             EXPECT_EQ(nib_texts(read_pad_file(dir.path() + "copy.nib").pad)[0], "copy beta");
             EXPECT_EQ(nib_texts(read_pad_file(path).pad)[0], "beta");
         }},
        {"Open Pad", CMD_OPEN_PAD, [&](MainWindow*, harness::DialogAnswerer& a) { a.fill_file_name("", other); },
         [&](MainWindow*) {
             ASSERT_EQ(app->windows.size(), 2u);
             EXPECT_EQ(text_of(app->windows[1]->hwnd), "other.nib");
             EXPECT_EQ(text_of(app->windows[1]->textField), "other");
         }},
        {"New Pad", CMD_NEW_PAD, nullptr,
         [&](MainWindow*) {
             ASSERT_EQ(app->windows.size(), 2u);
             EXPECT_EQ(text_of(app->windows[1]->hwnd), texts.new_pad);
             EXPECT_EQ(app->windows[1]->pad.count(), 1);
         }},
        {"Close Pad", CMD_CLOSE_PAD, nullptr, [&](MainWindow*) { EXPECT_TRUE(app->windows.empty()); }},
        {"Synchronize", CMD_SYNCHRONIZE, [&](MainWindow*, harness::DialogAnswerer& a) { a.fill_file_name("", other); },
         [&](MainWindow* w) {
             ASSERT_EQ(app->windows.size(), 2u);
             EXPECT_EQ(w->pad.count(), 4);
             EXPECT_EQ(nib_texts(w->pad), nib_texts(app->windows[1]->pad));
         }},
        {"Undo", CMD_UNDO,
         [&](MainWindow* w, harness::DialogAnswerer&) {
             focus_and_select(w->textField->hwnd, 0, 0);
             type_into(w, "x");
         },
         [&](MainWindow* w) { EXPECT_EQ(text_of(w->textField), "beta"); }},
        {"Cut", CMD_CUT, [&](MainWindow* w, harness::DialogAnswerer&) { focus_and_select(w->textField->hwnd, 0, 2); },
         [&](MainWindow* w) {
             EXPECT_EQ(text_of(w->textField), "ta");
             EXPECT_EQ(clipboard_text(w->hwnd), "be");
         }},
        {"Copy", CMD_COPY, [&](MainWindow* w, harness::DialogAnswerer&) { focus_and_select(w->textField->hwnd, 1, 3); },
         [&](MainWindow* w) {
             EXPECT_EQ(text_of(w->textField), "beta");
             EXPECT_EQ(clipboard_text(w->hwnd), "et");
         }},
        {"Paste into the find field", CMD_PASTE,
         [&](MainWindow* w, harness::DialogAnswerer&) {
             set_clipboard(w->hwnd, "mm");
             focus_and_select(w->findField->hwnd, 0, 0);
         },
         [&](MainWindow* w) {
             EXPECT_EQ(text_of(w->findField), "mm");
             EXPECT_TRUE(harness::pump_until([&] { return text_of(w->textField) == "gamma"; })) << "the pad is searched";
         }},
        {"Delete", CMD_DELETE, [&](MainWindow* w, harness::DialogAnswerer&) { focus_and_select(w->textField->hwnd, 0, 1); },
         [&](MainWindow* w) { EXPECT_EQ(text_of(w->textField), "eta"); }},
        {"Select All", CMD_SELECT_ALL, [&](MainWindow* w, harness::DialogAnswerer&) { SetFocus(w->textField->hwnd); },
         [&](MainWindow* w) { EXPECT_EQ(selection(w->textField), std::make_pair(DWORD{0}, DWORD{4})); }},
        {"Find Field selects its text", CMD_FIND_FIELD,
         [&](MainWindow* w, harness::DialogAnswerer&) {
             SendMessageA(w->hwnd, WM_SETFIND, reinterpret_cast<WPARAM>("et"), 0);
             SetFocus(w->textField->hwnd);
         },
         [&](MainWindow* w) {
             EXPECT_EQ(GetFocus(), w->findField->hwnd);
             EXPECT_EQ(selection(w->findField), std::make_pair(DWORD{0}, DWORD{2}));
         }},
        {"Text Field", CMD_TEXT_FIELD, [&](MainWindow* w, harness::DialogAnswerer&) { SetFocus(w->findField->hwnd); },
         [&](MainWindow* w) { EXPECT_EQ(GetFocus(), w->textField->hwnd); }},
        {"Switch Field to the find field", CMD_SWITCH_FIELD,
         [&](MainWindow* w, harness::DialogAnswerer&) { SetFocus(w->textField->hwnd); },
         [&](MainWindow* w) { EXPECT_EQ(GetFocus(), w->findField->hwnd); }},
        {"Switch Field to the text field", CMD_SWITCH_FIELD,
         [&](MainWindow* w, harness::DialogAnswerer&) { SetFocus(w->findField->hwnd); },
         [&](MainWindow* w) { EXPECT_EQ(GetFocus(), w->textField->hwnd); }},
        {"Order Nibs Alphabetically", CMD_ORDER_ALPHABETICALLY, nullptr,
         [&](MainWindow* w) {
             EXPECT_EQ(nib_texts(w->pad), (std::vector<std::string>{"alpha", "beta", "gamma"}));
             EXPECT_EQ(text_of(w->textField), "alpha") << "the first nib becomes current";
             EXPECT_EQ(w->padChanged, 1);
         }},
        {"Move Towards Beginning", CMD_MOVE_TOWARDS_BEGINNING,
         [&](MainWindow* w, harness::DialogAnswerer&) { command(w, CMD_NEXT); },
         [&](MainWindow* w) {
             EXPECT_EQ(nib_texts(w->pad), (std::vector<std::string>{"alpha", "beta", "gamma"}));
             EXPECT_EQ(text_of(w->statusLabel), "1 of 3");
         }},
        {"Move Towards End", CMD_MOVE_TOWARDS_END, nullptr,
         [&](MainWindow* w) {
             EXPECT_EQ(nib_texts(w->pad), (std::vector<std::string>{"alpha", "beta", "gamma"}));
             EXPECT_EQ(text_of(w->statusLabel), "2 of 3");
             EXPECT_EQ(w->padChanged, 1);
         }},
        {"Insert File Link", CMD_INSERT_FILE_LINK,
         [&](MainWindow* w, harness::DialogAnswerer& a) {
             focus_and_select(w->textField->hwnd, 4, 4);
             type_into(w, " ");
             a.fill_file_name("", linked);
         },
         [&](MainWindow* w) {
             std::string link = dir.path();  // its only unusual characters are blanks
             std::replace(link.begin(), link.end(), ' ', '+');
             link += "My+Notes\\x%2by%25.txt";
             ASSERT_EQ(text_of(w->textField), "beta " + link);
             // The click's messages themselves: synthesised mouse input lands unreliably under Wine.
             const LRESULT at = SendMessageA(w->textField->hwnd, EM_POSFROMCHAR, 7, 0);
             const LPARAM point = MAKELPARAM(LOWORD(at) + 2, HIWORD(at) + 4);
             PostMessageA(w->textField->hwnd, WM_LBUTTONDOWN, MK_LBUTTON | MK_CONTROL, point);
             PostMessageA(w->textField->hwnd, WM_LBUTTONUP, MK_CONTROL, point);
             harness::pump_until([&] { return !shell.empty(); }, 1s);
             EXPECT_EQ(shell, std::vector<std::string>{linked});
         }},
        {"Choose Font, Cancel", CMD_CHOOSE_FONT,
         [&](MainWindow*, harness::DialogAnswerer& a) {
             app->fontName = "Before";
             a.press("", IDCANCEL);
         },
         [&](MainWindow* w) {
             EXPECT_EQ(w->padChanged, 0);
             EXPECT_EQ(app->fontName, "Before");
             EXPECT_NE(w->fontName, "Before");
         }},
        {"Choose Font, OK", CMD_CHOOSE_FONT,
         [&](MainWindow*, harness::DialogAnswerer& a) {
             app->fontName = "Before";
             app->fontSize = 99;
             a.press("", IDOK);
         },
         [&](MainWindow* w) {
             // Whatever font the dialog answers goes to the window, and to the host for new pads.
             EXPECT_EQ(w->padChanged, 1);
             EXPECT_EQ(app->fontName, w->fontName);
             EXPECT_EQ(app->fontSize, w->fontSize);
             EXPECT_NE(app->fontName, "Before");
             EXPECT_NE(app->fontSize, 99);
         }},
        {"Help", CMD_HELP, nullptr,
         [&](MainWindow*) {
             EXPECT_EQ(shell, std::vector<std::string>{directory_of(program_path()) + "help\\index.html"});
         }},
        {"About", CMD_ABOUT, nullptr,
         [&](MainWindow*) {
             HWND about = FindWindowA("AboutWin", nullptr);
             ASSERT_TRUE(about);
             SendMessageA(about, WM_CLOSE, 0, 0);
             EXPECT_FALSE(IsWindow(about));
         }},
    };

    std::set<unsigned> covered = {CMD_NEW_NIB, CMD_DELETE_NIB, CMD_SAVE,      CMD_IMPORT,   CMD_EXPORT_FOUND,
                                  CMD_QUIT,    CMD_FIRST,      CMD_LAST,      CMD_PREVIOUS, CMD_NEXT,
                                  CMD_PUT_FIRST, CMD_PUT_LAST, CMD_OTHER_SETTINGS};  // by the other tests
    std::set<unsigned> menu;
    for (const Row& row : rows) {
        SCOPED_TRACE(row.name);
        write_pad("pad.nib", {"beta", "alpha", "gamma"});
        MainWindow* window = open(path);
        ASSERT_TRUE(harness::bring_to_front(window->hwnd));
        if (menu.empty()) collect_commands(GetMenu(window->hwnd), menu);
        shell.clear();
        {
            harness::DialogAnswerer answerer;
            if (row.before) row.before(window, answerer);
            command(window, row.command);
            EXPECT_TRUE(answerer.all_answered());
            EXPECT_EQ(answerer.unexpected(), 0);
        }
        row.after(window);
        covered.insert(row.command);
        close_all();
    }
    EXPECT_EQ(covered, menu) << "every menu command is tried";
}
