// The file dialogs with their remembered folders.
#include "app_test_support.h"

#include "harness/dialog_answerer.h"
#include "support/util.h"

#include <gtest/gtest.h>

namespace {

class FileDialog : public ::testing::Test {
protected:
    FileDialog() { bind_file_dialogs(GetModuleHandleA(nullptr), &directories); }
    ~FileDialog() override { bind_file_dialogs(nullptr, nullptr); }

    DirectorySlots directories;
    TempDirectory folder;
};

}  // namespace

// Each dialog in turn of one slot, answered by typing a name (as often as the dialog comes) or
// with a button; a name too long for the first buffer brings the dialog again with a larger one.
TEST_F(FileDialog, ChoiceIsRememberedPerSlotLongNamesGrowTheBufferAndCancelChangesNothing) {
    std::string name(250 - folder.path().size(), 'n');
    name.replace(name.size() - 4, 4, ".nib");
    const std::string pad = folder.create_file("pad.nib"), long_pad = folder.create_file(name);
    const struct {
        int mode, slot;
        std::string given, typed;
        int times, button, chosen;
        std::string path, title;
    } cases[] = {
        {open_mode, sync_directory, "", pad, 1, 0, 1, pad, "pad.nib"},
        {open_mode, sync_directory, "", "pad.nib", 1, 0, 1, pad, "pad.nib"},
        {open_mode, open_directory, "", long_pad, 2, 0, 1, long_pad, name},
        {open_mode, insert_directory, long_pad + std::string(300, ' '), "", 1, IDOK, 1, long_pad, name},
        {save_mode, export_directory, "unchanged", "", 1, IDCANCEL, 0, "unchanged", "unchanged"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.typed + c.given);
        std::string path = c.given, title = "unchanged";
        harness::DialogAnswerer answerer;
        for (int i = 0; i < c.times; ++i) c.typed.empty() ? answerer.press("", c.button) : answerer.fill_file_name("", c.typed);
        EXPECT_EQ(file_dialog(c.mode, c.slot, nullptr, {"Scrivel pads", "*.nib", "All Files", "*.*"}, path, title), c.chosen);
        EXPECT_TRUE(answerer.all_answered());
        EXPECT_EQ(answerer.unexpected(), 0);
        // A chosen file may come in its long or its short form.
        EXPECT_EQ(c.chosen ? short_path(path) : path, c.chosen ? short_path(c.path) : c.path);
        EXPECT_EQ(title, c.title);
        EXPECT_EQ(directories[c.slot], c.chosen ? directory_of(path) : "");
    }
}
