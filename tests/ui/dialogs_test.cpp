// The separator and other settings dialogs, and Import and Export Found through them, as a user
// answers them.
#include "pad_window_fixture.h"

#include "harness/dialog_answerer.h"
#include "storage/import_progress.h"
#include "storage/separator.h"
#include "support/texts.h"
#include "ui/command_ids.h"
#include "ui/dialog_ids.h"
#include "ui/dialogs.h"

#include <gtest/gtest.h>

#include <fstream>
#include <set>

namespace {

const char* const separator_title = "Separator string";

void write_file(const std::string& path, const std::string& text) {
    std::ofstream(path, std::ios::binary) << text;
}

// The titles of the progress windows made on this thread while the hook is set, and those still open.
std::vector<std::string> progress_made;
std::set<HWND> progress_open;
LRESULT CALLBACK watch_progress_windows(int code, WPARAM wParam, LPARAM lParam) {
    const auto window = reinterpret_cast<HWND>(wParam);
    if (code == HCBT_CREATEWND) {
        const CREATESTRUCTA& created = *reinterpret_cast<CBT_CREATEWNDA*>(lParam)->lpcs;
        if (!IS_INTRESOURCE(created.lpszClass) && std::string(created.lpszClass) == "ProgrWin") {
            progress_made.push_back(created.lpszName ? created.lpszName : "");
            progress_open.insert(window);
        }
    } else if (code == HCBT_DESTROYWND) {
        progress_open.erase(window);
    }
    return CallNextHookEx(nullptr, code, wParam, lParam);
}

}  // namespace

TEST_F(PadWindowTest, ExportFoundAndImportRoundTripThroughTheDialogs) {
    MainWindow* window = open(write_pad("export.nib", {"one", "two\r\nlines", "three 100%s", "other"}));
    SendMessageA(window->hwnd, WM_SETFIND, reinterpret_cast<WPARAM>("t"), 0);
    harness::DialogAnswerer answerer;
    // OK on the separator as shown gives back the one it started with; a name typed without an
    // extension gets .txt.
    answerer.press(separator_title, IDOK).fill_file_name("", dir.path() + "out");
    EXPECT_EQ(command(window, CMD_EXPORT_FOUND), 0);
    const std::string joint = "\r\n\r\n" + std::string(30, '-') + "\r\n\r\n";
    EXPECT_EQ(file_text(dir.path() + "out.txt"), "two\r\nlines" + joint + "three 100%s" + joint + "other");
    EXPECT_EQ(window->padChanged, 0) << "an export changes nothing";

    MainWindow* fresh = window_of(app->newPad(SW_SHOWNORMAL));
    answerer.press(separator_title, IDOK).fill_file_name("", dir.path() + "out.txt");
    command(fresh, CMD_IMPORT);
    EXPECT_EQ(nib_texts(fresh->pad), (std::vector<std::string>{"two\r\nlines", "three 100%s", "other"}));
    EXPECT_EQ(fresh->padChanged, 1);
    EXPECT_EQ(text_of(fresh->textField), "other") << "the last piece is current and shown";
    EXPECT_TRUE(answerer.all_answered());
    EXPECT_EQ(answerer.unexpected(), 0);
}

TEST_F(PadWindowTest, TheTypedSeparatorServesOneImportAndAnEmptyOneEndsItLikeCancel) {
    const std::string source = dir.path() + "source.txt";
    write_file(source, "a\tb\nc\\d x");
    const struct {
        const char* typed;  // null: Cancel
        std::vector<std::string> nibs;
    } cases[] = {
        {"\\t", {"a", "b\r\nc\\d x"}},  // decoded as padfile_test checks in full
        {"", {""}},                      // nothing entered: no file dialog, no change
        {nullptr, {""}},
    };
    for (const auto& c : cases) {
        MainWindow* window = window_of(app->newPad(SW_SHOWNORMAL));
        harness::DialogAnswerer answerer;
        if (c.typed) {
            answerer.set_text(separator_title, IDC_SEPARATOR_TEXT, c.typed).press(separator_title, IDOK);
            if (*c.typed) answerer.fill_file_name("", source);
        } else {
            answerer.press(separator_title, IDCANCEL);
        }
        command(window, CMD_IMPORT);
        std::vector<std::string> nibs = nib_texts(window->pad);
        EXPECT_EQ(nibs, c.nibs) << (c.typed ? c.typed : "Cancel");
        EXPECT_EQ(window->padChanged, c.nibs.size() > 1 || !c.nibs[0].empty() ? 1 : 0);
        EXPECT_TRUE(answerer.all_answered());
        EXPECT_EQ(answerer.unexpected(), 0) << "no file dialog after an empty separator";
        window->padChanged = 0;
        DestroyWindow(window->hwnd);
    }
    EXPECT_EQ(app->separator, default_separator) << "the typed separator is not kept";
}

// Where the threshold lies is checked with the import itself (padfile_test).
TEST_F(PadWindowTest, ALargeImportShowsTheProgressWindowAndClosesIt) {
    std::string text;
    while (text.size() <= import_progress_threshold) text += std::string(200, 'n') + default_separator;
    write_file(dir.path() + "large.txt", text);
    MainWindow* window = window_of(app->newPad(SW_SHOWNORMAL));
    HHOOK hook = SetWindowsHookExA(WH_CBT, &watch_progress_windows, nullptr, GetCurrentThreadId());
    harness::DialogAnswerer answerer;
    answerer.press(separator_title, IDOK).fill_file_name("", dir.path() + "large.txt");
    command(window, CMD_IMPORT);
    UnhookWindowsHookEx(hook);
    EXPECT_GT(window->pad.count(), 200);
    EXPECT_EQ(progress_made, std::vector<std::string>{texts.importing_title});
    EXPECT_TRUE(progress_open.empty()) << "closed at the end";
}

TEST_F(PadWindowTest, OtherSettingsSetsBothSettingsOnOkOnly) {
    MainWindow* window = open(write_pad("settings.nib", {"x"}));
    const struct {
        std::int32_t autosave, changeRegistry;
        bool tick;  // clear Autosave and tick the registry repair
        int button;
        std::int32_t autosaveAfter, changeRegistryAfter;
    } cases[] = {
        {1, 0, true, IDCANCEL, 1, 0},
        {1, 0, true, IDOK, 0, 1},
        {0, 1, false, IDOK, 0, 1},  // the boxes start as the settings are
    };
    for (const auto& c : cases) {
        app->autosave = c.autosave;
        app->changeRegistry = c.changeRegistry;
        harness::DialogAnswerer answerer;
        if (c.tick) answerer.tick("Other settings", IDC_AUTOSAVE, false).tick("Other settings", IDC_CHANGE_REGISTRY);
        answerer.press("Other settings", c.button);
        command(window, CMD_OTHER_SETTINGS);
        EXPECT_TRUE(answerer.all_answered());
        EXPECT_EQ(app->autosave, c.autosaveAfter) << c.button;
        EXPECT_EQ(app->changeRegistry, c.changeRegistryAfter) << c.button;
    }
}
