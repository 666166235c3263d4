// The menu commands on a real pad window, as the menu sends them, with their visible effects.
#include "pad_window_fixture.h"

#include <functional>
#include <tuple>

namespace {

// One menu command: what is done before it is sent, and what is checked afterwards.
struct Row {
    const char* name;
    unsigned command;
    std::function<void()> before, after;
};

// Where the Edit commands act: the focused field and its selection.
void focus_and_select(const Window* field, int start, int end) {
    SetFocus(field->hwnd);
    SendMessageA(field->hwnd, EM_SETSEL, start, end);
}

}  // namespace

TEST_F(PadWindowTest, MenuCommandsHaveTheirVisibleEffect) {
    const std::string path = dir.path() + "pad.nib", other = write_pad("other.nib", {"other"});
    std::filesystem::create_directory(dir.path() + "My Notes");
    const std::string linked = dir.path() + "My Notes\\x+y%.txt";
    std::ofstream(linked) << "linked";

    MainWindow* w = nullptr;  // the row's window, on a fresh copy of the pad
    const auto texts_are = [&](const Strings& nibs, const char* status, int changed) {
        EXPECT_EQ(nib_texts(w->pad), nibs);
        EXPECT_EQ(text_of(w->statusLabel), status);
        EXPECT_EQ(w->padChanged, changed);
    };
    const auto second_window = [&](const std::string& title) {
        ASSERT_EQ(app->windows.size(), 2u);
        EXPECT_EQ(text_of(app->windows[1]->hwnd), title);
    };
    const auto field_is = [&](const Window* field, const char* text) { EXPECT_EQ(text_of(field), text); };
    // Save As takes the window to the new file; Save a Copy As leaves it on its own, still changed.
    const auto save_row = [&](const char* name, unsigned id, std::string file, const char* title, int changed) {
        return Row{name, id, [&, file] {
                       type_into(w, "new ");
                       answers.fill_file_name("", dir.path() + file);
                   },
                   [&, file, title, changed] {
                       EXPECT_EQ(text_of(w->hwnd), title);
                       EXPECT_EQ(w->padChanged, changed);
                       EXPECT_EQ(nib_texts(read_pad_file(dir.path() + file).pad)[0], "new beta");
                       EXPECT_EQ(nib_texts(read_pad_file(path).pad)[0], "beta");
                   }};
    };
    const auto font_row = [&](const char* name, int button) {
        return Row{name, CMD_CHOOSE_FONT, [&, button] {
                       std::tie(app->fontName, app->fontSize) = std::tuple("Before", 99);
                       answers.press("", button);
                   },
                   [&, button] {
                       // Whatever font the dialog answers goes to the window, and to the host for new pads.
                       const bool ok = button == IDOK;
                       EXPECT_EQ(w->padChanged, ok ? 1 : 0);
                       EXPECT_EQ(app->fontName == "Before", !ok);
                       EXPECT_EQ(app->fontSize == 99, !ok);
                       EXPECT_EQ(w->fontName == app->fontName, ok);
                       EXPECT_EQ(w->fontSize == app->fontSize, ok);
                   }};
    };
    const Row rows[] = {
        save_row("Save As", CMD_SAVE_AS, "as.nib", "as.nib", 0),
        save_row("Save a Copy As", CMD_SAVE_COPY_AS, "copy.nib", "pad.nib", 1),
        {"Open Pad", CMD_OPEN_PAD, [&] { answers.fill_file_name("", other); },
         [&] {
             second_window("other.nib");
             field_is(app->windows.back()->textField, "other");
         }},
        {"Synchronize", CMD_SYNCHRONIZE, [&] { answers.fill_file_name("", other); },
         [&] {
             second_window("other.nib");
             EXPECT_EQ(w->pad.count(), 4);
             EXPECT_EQ(nib_texts(w->pad), nib_texts(app->windows.back()->pad));
             EXPECT_EQ(w->padChanged + app->windows.back()->padChanged, 2) << "both sides are to be saved";
         }},
        {"Copy, then Paste into the find field", CMD_PASTE,
         [&] {
             focus_and_select(w->textField, 1, 3);
             command(w, CMD_COPY);
             focus_and_select(w->findField, 0, 0);
         },
         [&] {
             field_is(w->findField, "et");
             field_is(w->textField, "beta");
             EXPECT_TRUE(harness::pump_until([&] { return text_of(w->statusLabel) == "1 of 1"; })) << "the pad is searched";
         }},
        {"Order Nibs Alphabetically", CMD_ORDER_ALPHABETICALLY, nullptr,
         [&] {
             texts_are({"alpha", "beta", "gamma"}, "1 of 3", 1);
             field_is(w->textField, "alpha");
         }},
        {"Move Towards Beginning", CMD_MOVE_TOWARDS_BEGINNING, [&] { command(w, CMD_NEXT); },
         [&] { texts_are({"alpha", "beta", "gamma"}, "1 of 3", 1); }},
        {"Move Towards End", CMD_MOVE_TOWARDS_END, nullptr, [&] { texts_are({"alpha", "beta", "gamma"}, "2 of 3", 1); }},
        // What a Ctrl+click on such a link does is tried on the text field alone (field_controls_test).
        {"Insert File Link", CMD_INSERT_FILE_LINK,
         [&] {
             focus_and_select(w->textField, 4, 4);
             type_into(w, " ");
             answers.fill_file_name("", linked);
         },
         [&] {
             std::string link = dir.path();  // its only unusual characters are blanks
             std::replace(link.begin(), link.end(), ' ', '+');
             EXPECT_EQ(text_of(w->textField), "beta " + link + "My+Notes\\x%2by%25.txt");
         }},
        font_row("Choose Font, Cancel", IDCANCEL),
        font_row("Choose Font, OK", IDOK),
        {"Help", CMD_HELP, nullptr,
         [&] { EXPECT_EQ(shellFiles, Strings{directory_of(program_path()) + "help\\index.html"}); }},
        {"About", CMD_ABOUT, nullptr,
         [&] {
             HWND about = FindWindowA("AboutWin", nullptr);
             ASSERT_TRUE(about);
             SendMessageA(about, WM_LBUTTONDOWN, MK_LBUTTON, 0);
             EXPECT_FALSE(IsWindow(about)) << "a click closes it";
         }},
    };

    for (const Row& row : rows) {
        SCOPED_TRACE(row.name);
        write_pad("pad.nib", {"beta", "alpha", "gamma"});
        w = open(path);
        ASSERT_TRUE(harness::bring_to_front(w->hwnd));
        shellFiles.clear();
        if (row.before) row.before();
        command(w, row.command);
        EXPECT_TRUE(answers.all_answered());
        EXPECT_EQ(answers.unexpected(), 0);
        row.after();
        close_all();
    }
}
