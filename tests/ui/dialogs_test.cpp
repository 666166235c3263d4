// The separator and other settings dialogs, and Import and Export Found through them, as a user
// answers them.
#include "pad_window_fixture.h"

#include "storage/import_progress.h"
#include "storage/separator.h"
#include "ui/dialog_ids.h"

namespace {

const char* const separator_title = "Separator string";

// The titles of the progress windows made on this thread while the hook is set, and how many are open.
Strings progress_made;
int progress_open = 0;
LRESULT CALLBACK watch_progress_windows(int code, WPARAM wParam, LPARAM lParam) {
    char name[16] = {};
    GetClassNameA(reinterpret_cast<HWND>(wParam), name, sizeof name);
    if (code == HCBT_CREATEWND && std::string(name) == "ProgrWin") {
        const char* title = reinterpret_cast<CBT_CREATEWNDA*>(lParam)->lpcs->lpszName;
        progress_made.push_back(title ? title : "");
        ++progress_open;
    } else if (code == HCBT_DESTROYWND && std::string(name) == "ProgrWin") {
        --progress_open;
    }
    return CallNextHookEx(nullptr, code, wParam, lParam);
}

}  // namespace

// Export Found writes the found nibs with the separator shown; the typed separator serves one
// import, and an empty one ends it like Cancel. A large import shows the progress window and
// closes it (where the threshold lies is checked with the import itself).
TEST_F(PadWindowTest, ExportFoundAndImportGoThroughTheSeparatorAndFileDialogs) {
    MainWindow* exporting = open(write_pad("export.nib", {"one", "two\r\nlines", "three 100%s", "other"}));
    SendMessageA(exporting->hwnd, WM_SETFIND, reinterpret_cast<WPARAM>("t"), 0);
    // OK on the separator as shown gives back the one it started with; a name typed without an
    // extension gets .txt.
    answers.press(separator_title, IDOK).fill_file_name("", dir.path() + "out");
    EXPECT_EQ(command(exporting, CMD_EXPORT_FOUND), 0);
    const std::string joint = "\r\n\r\n" + std::string(30, '-') + "\r\n\r\n";
    EXPECT_EQ(file_text(dir.path() + "out.txt"), "two\r\nlines" + joint + "three 100%s" + joint + "other");
    EXPECT_EQ(exporting->padChanged, 0) << "an export changes nothing";

    std::string large;
    while (large.size() <= import_progress_threshold) large += std::string(200, 'n') + default_separator;
    std::ofstream(dir.path() + "large.txt", std::ios::binary) << large;
    std::ofstream(dir.path() + "small.txt", std::ios::binary) << "a\tb\nc\\d x";
    const struct {
        const char* typed;  // null: Cancel; empty: OK on the separator as shown
        const char* file;
        Strings progress;
        Strings nibs;  // empty: not looked at
    } cases[] = {
        {"", "out.txt", {}, {"two\r\nlines", "three 100%s", "other"}},
        {"\\t", "small.txt", {}, {"a", "b\r\nc\\d x"}},  // decoded as padfile_test checks in full
        {"", nullptr, {}, {""}},                          // nothing entered: no file dialog, no change
        {nullptr, nullptr, {}, {""}},
        {"", "large.txt", {texts.importing_title}, {}},
    };
    for (const auto& c : cases) {
        MainWindow* window = new_pad();
        if (c.typed && (*c.typed || !c.file)) answers.set_text(separator_title, IDC_SEPARATOR_TEXT, c.typed);
        answers.press(separator_title, c.typed ? IDOK : IDCANCEL);
        if (c.file) answers.fill_file_name("", dir.path() + c.file);
        progress_made.clear();
        HHOOK hook = SetWindowsHookExA(WH_CBT, &watch_progress_windows, nullptr, GetCurrentThreadId());
        command(window, CMD_IMPORT);
        UnhookWindowsHookEx(hook);
        const std::string name = c.file ? c.file : c.typed ? "empty" : "Cancel";
        if (!c.nibs.empty()) {
            EXPECT_EQ(nib_texts(window->pad), c.nibs) << name;
            EXPECT_EQ(text_of(window->textField), c.nibs.back()) << name << ": the last piece is current and shown";
        }
        EXPECT_EQ(window->pad.count() > 200, !c.progress.empty()) << name;
        EXPECT_EQ(window->padChanged, c.file ? 1 : 0) << name;
        EXPECT_EQ(progress_made, c.progress) << name;
        EXPECT_EQ(progress_open, 0) << "closed at the end";
        EXPECT_TRUE(answers.all_answered()) << name;
        window->padChanged = 0;
        DestroyWindow(window->hwnd);
    }
    EXPECT_EQ(app->separator, default_separator) << "the typed separator is not kept";
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
        if (c.tick) answers.tick("Other settings", IDC_AUTOSAVE, false).tick("Other settings", IDC_CHANGE_REGISTRY);
        answers.press("Other settings", c.button);
        command(window, CMD_OTHER_SETTINGS);
        EXPECT_TRUE(answers.all_answered());
        EXPECT_EQ(app->autosave, c.autosaveAfter) << c.button;
        EXPECT_EQ(app->changeRegistry, c.changeRegistryAfter) << c.button;
    }
}
