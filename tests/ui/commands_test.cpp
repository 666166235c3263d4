// The menu commands on a real pad window, as the menu sends them, with their visible effects.
#include "pad_window_fixture.h"

#include "ui/dialog_ids.h"

#include <functional>
#include <tuple>

using namespace std::chrono_literals;

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
    std::filesystem::file_time_type stamp;
    const auto second_window = [&](const std::string& title) {
        ASSERT_EQ(app->windows.size(), 2u);
        EXPECT_EQ(text_of(app->windows[1]->hwnd), title);
    };
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
    // The settings dialog starts as the settings are, and sets both on OK only.
    const auto settings_row = [&](const char* name, std::pair<int, int> before, bool tick, int button,
                                  std::pair<int, int> after) {
        return Row{name, CMD_OTHER_SETTINGS, [&, before, tick, button] {
                       std::tie(app->autosave, app->changeRegistry) = before;
                       if (tick) answers.tick("Other settings", IDC_AUTOSAVE, false).tick("Other settings", IDC_CHANGE_REGISTRY);
                       answers.press("Other settings", button);
                   },
                   [&, after] { EXPECT_EQ(std::pair(app->autosave, app->changeRegistry), after); }};
    };
    const Row rows[] = {
        save_row("Save As", CMD_SAVE_AS, "as.nib", "as.nib", 0),
        save_row("Save a Copy As", CMD_SAVE_COPY_AS, "copy.nib", "pad.nib", 1),
        {"Open Pad", CMD_OPEN_PAD, [&] { answers.fill_file_name("", other); },
         [&] {
             second_window("other.nib");
             EXPECT_EQ(text_of(app->windows.back()->textField), "other");
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
             EXPECT_EQ(text_of(w->findField), "et");
             EXPECT_EQ(text_of(w->textField), "beta");
             EXPECT_TRUE(harness::pump_until([&] { return text_of(w->statusLabel) == "1 of 1"; })) << "the pad is searched";
         }},
        {"Order Nibs Alphabetically", CMD_ORDER_ALPHABETICALLY, nullptr,
         [&] {
             EXPECT_EQ(nib_texts(w->pad), (Strings{"alpha", "beta", "gamma"}));
             EXPECT_EQ(w->padChanged, 1);
             EXPECT_EQ(text_of(w->textField), "alpha");
         }},
        {"Save of an unchanged pad writes nothing", CMD_SAVE,
         [&] {
             std::filesystem::last_write_time(path, std::filesystem::file_time_type::clock::now() - 1h);
             stamp = std::filesystem::last_write_time(path);
         },
         [&] { EXPECT_EQ(std::filesystem::last_write_time(path), stamp); }},
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
        // The font the dialog answers goes to the window, and to the host for new pads.
        {"Choose Font", CMD_CHOOSE_FONT,
         [&] {
             std::tie(app->fontName, app->fontSize) = std::tuple("Before", 99);
             answers.press("", IDOK);
         },
         [&] {
             EXPECT_EQ(w->padChanged, 1);
             EXPECT_TRUE(app->fontName != "Before" && app->fontSize != 99);
             EXPECT_EQ(std::pair(w->fontName, w->fontSize), std::pair(app->fontName, app->fontSize));
         }},
        settings_row("Other Settings, Cancel", {1, 0}, true, IDCANCEL, {1, 0}),
        settings_row("Other Settings, OK", {1, 0}, true, IDOK, {0, 1}),
        settings_row("Other Settings, OK as they were", {0, 1}, false, IDOK, {0, 1}),
        {"Help", CMD_HELP, nullptr,
         [&] { EXPECT_EQ(shellFiles, Strings{directory_of(program_path()) + "help\\index.html"}); }},
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
        row.after();
        close_all();
    }
}
