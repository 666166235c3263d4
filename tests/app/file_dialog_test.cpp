#include "app_test_support.h"

#include "harness/dialog_answerer.h"
#include "support/util.h"

#include <gtest/gtest.h>

namespace {

const std::vector<std::string> pad_filters = {"Scrivel pads", "*.nib", "All Files", "*.*"};

class FileDialog : public ::testing::Test {
protected:
    FileDialog() { bind_file_dialogs(GetModuleHandleA(nullptr), &directories); }
    ~FileDialog() override { bind_file_dialogs(nullptr, nullptr); }

    // Runs the dialog, which the harness answers by typing `name` `times` times (cancels when empty).
    int choose(int mode, int slot, const std::string& name, int times = 1) {
        harness::DialogAnswerer answerer;
        for (int i = 0; i < times; ++i) name.empty() ? answerer.press("", IDCANCEL) : answerer.fill_file_name("", name);
        const int chosen = file_dialog(mode, slot, nullptr, filters, path, title);
        EXPECT_TRUE(answerer.all_answered());
        EXPECT_EQ(answerer.unexpected(), 0);
        return chosen;
    }

    DirectorySlots directories;
    TempDirectory folder;
    std::string path, title;
    std::vector<std::string> filters = pad_filters;
};

}  // namespace

TEST_F(FileDialog, ChoiceIsRememberedPerSlotCancelChangesNothingASavedNameGetsAnExtension) {
    const std::string pad = folder.create_file("pad.nib");
    ASSERT_EQ(choose(open_mode, sync_directory, pad), 1);
    EXPECT_EQ(short_path(path), short_path(pad));
    EXPECT_EQ(title, "pad.nib");
    EXPECT_EQ(directories[sync_directory], directory_of(path));
    EXPECT_EQ(directories[open_directory], "");

    // The next dialog of that slot, given no path, starts there: a bare name is found.
    path.clear();
    ASSERT_EQ(choose(open_mode, sync_directory, "pad.nib"), 1);
    EXPECT_EQ(short_path(path), short_path(pad));

    // A cancelled dialog changes nothing; a saved name gets the filter's extension.
    path = title = "unchanged";
    EXPECT_EQ(choose(save_mode, export_directory, ""), 0);
    EXPECT_EQ(path + title, "unchangedunchanged");
    EXPECT_EQ(directories[export_directory], "");

    path.clear();
    filters = {"Text Files", "*.txt"};  // an exported text is not saved as a pad
    ASSERT_EQ(choose(save_mode, export_directory, folder.path() + "exported"), 1);
    EXPECT_EQ(title, "exported.txt");
    EXPECT_EQ(file_name_of(path), "exported.txt");
    EXPECT_EQ(directories[export_directory], directory_of(path));
}

TEST_F(FileDialog, LongNamesGrowTheBuffer) {
    // A full path well past the first buffer of 256 characters, yet within the system's limit.
    std::string name(250 - folder.path().size(), 'n');
    name.replace(name.size() - 4, 4, ".nib");
    const std::string pad = folder.create_file(name);
    ASSERT_FALSE(short_path(pad).empty());
    // Chosen in a dialog whose buffer is too small: the dialog comes again with a larger one.
    ASSERT_EQ(choose(open_mode, open_directory, pad, 2), 1);
    EXPECT_EQ(short_path(path), short_path(pad));
    EXPECT_EQ(title, name);

    // A given path longer than the buffer is taken whole.
    path = pad + std::string(300, ' ');
    {
        harness::DialogAnswerer answerer;
        answerer.press("", IDOK);
        ASSERT_EQ(file_dialog(open_mode, open_directory, nullptr, pad_filters, path, title), 1);
        EXPECT_EQ(answerer.seen().size(), 1u);
    }
    EXPECT_EQ(short_path(path), short_path(pad));
}
