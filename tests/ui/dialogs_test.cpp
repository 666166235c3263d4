// Import and Export Found through the separator and file dialogs, as a user answers them.
#include "pad_window_fixture.h"

#include "storage/separator.h"
#include "ui/dialog_ids.h"

// Export Found writes the found nibs with the separator shown; the typed separator serves one
// import, and an empty one ends it like Cancel.
TEST_F(PadWindowTest, ExportFoundAndImportGoThroughTheSeparatorAndFileDialogs) {
    MainWindow* exporting = open(write_pad("export.nib", {"one", "two\r\nlines", "three 100%s", "other"}));
    SendMessageA(exporting->hwnd, WM_SETFIND, reinterpret_cast<WPARAM>("t"), 0);
    // OK on the separator as shown gives back the one it started with; a name typed without an
    // extension gets .txt.
    answers.press("Separator string", IDOK).fill_file_name("", dir.path() + "out");
    EXPECT_EQ(command(exporting, CMD_EXPORT_FOUND), 0);
    const std::string joint = "\r\n\r\n" + std::string(30, '-') + "\r\n\r\n";
    EXPECT_EQ(file_text(dir.path() + "out.txt"), "two\r\nlines" + joint + "three 100%s" + joint + "other");

    std::ofstream(dir.path() + "small.txt", std::ios::binary) << "a\tb\nc\\d x";
    const struct {
        const char* typed;  // null: Cancel; empty: OK on the separator as shown
        const char* file;
        Strings nibs;
    } cases[] = {
        {"", "out.txt", {"two\r\nlines", "three 100%s", "other"}},
        {"\\t", "small.txt", {"a", "b\r\nc\\d x"}},  // decoded as padfile_test checks in full
        {"", nullptr, {""}},                          // nothing entered: no file dialog, no change
        {nullptr, nullptr, {""}},
    };
    for (const auto& c : cases) {
        MainWindow* window = new_pad();
        if (c.typed && (*c.typed || !c.file)) answers.set_text("Separator string", IDC_SEPARATOR_TEXT, c.typed);
        answers.press("Separator string", c.typed ? IDOK : IDCANCEL);
        if (c.file) answers.fill_file_name("", dir.path() + c.file);
        command(window, CMD_IMPORT);
        const std::string name = c.file ? c.file : c.typed ? "empty" : "Cancel";
        EXPECT_EQ(nib_texts(window->pad), c.nibs) << name;
        EXPECT_EQ(window->padChanged, c.file ? 1 : 0) << name;
        window->padChanged = 0;
        DestroyWindow(window->hwnd);
    }
    EXPECT_EQ(app->separator, default_separator) << "the typed separator is not kept";
}
