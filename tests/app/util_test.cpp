// The file dialogs with their remembered folders.
#include "app_test_support.h"

#include "harness/dialog_answerer.h"
#include "support/util.h"

#include <gtest/gtest.h>

// Each dialog is answered by typing a name as often as it comes, or cancelled: a slot remembers
// the folder of its choice, and a name too long for the first buffer brings the dialog again.
TEST(FileDialog, ChoiceIsRememberedPerSlotLongNamesGrowTheBufferAndCancelChangesNothing) {
    TempDirectory folder;
    DirectorySlots directories;
    bind_file_dialogs(GetModuleHandleA(nullptr), &directories);
    std::string name(250 - folder.path().size(), 'n');
    name.replace(name.size() - 4, 4, ".nib");
    const std::string long_pad = folder.path() + name;
    std::ofstream(long_pad) << "text\n";
    const struct {
        int slot;
        std::string typed;
        int times;
        std::string chosen, title;  // none when cancelled
    } cases[] = {
        {sync_directory, long_pad, 2, long_pad, name},
        {export_directory, "", 1, "", ""},
    };
    for (const auto& c : cases) {
        std::string path, title;
        harness::DialogAnswerer answerer;
        for (int i = 0; i < c.times; ++i) c.typed.empty() ? answerer.press("", IDCANCEL) : answerer.fill_file_name("", c.typed);
        EXPECT_EQ(file_dialog(open_mode, c.slot, nullptr, {"Scrivel pads", "*.nib"}, path, title), !c.chosen.empty());
        EXPECT_TRUE(answerer.all_answered() && answerer.unexpected() == 0) << c.typed;
        // A chosen file may come in its long or its short form.
        EXPECT_EQ(short_path(path), short_path(c.chosen));
        EXPECT_EQ(title, c.title);
        EXPECT_EQ(directories[c.slot], c.chosen.empty() ? "" : directory_of(path));
    }
    bind_file_dialogs(nullptr, nullptr);
}
