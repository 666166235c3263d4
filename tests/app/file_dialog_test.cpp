#include "temp_directory.h"

#include "harness/dialog_answerer.h"
#include "support/util.h"

#include <gtest/gtest.h>

namespace {

const std::vector<std::string> pad_filters = {"Scrivel pads", "*.nib", "All Files", "*.*"};

class FileDialog : public ::testing::Test {
protected:
    FileDialog() { bind_file_dialogs(GetModuleHandleA(nullptr), &directories); }
    ~FileDialog() override { bind_file_dialogs(nullptr, nullptr); }
    DirectorySlots directories;
    TempDirectory folder;
};

}  // namespace

TEST_F(FileDialog, ChoiceIsRememberedPerSlot) {
    std::string pad = folder.create_file("pad.nib");
    std::string path, title;
    {
        harness::DialogAnswerer answerer;
        answerer.fill_file_name("", pad);
        ASSERT_EQ(file_dialog(open_mode, sync_directory, nullptr, pad_filters, path, title), 1);
        EXPECT_TRUE(answerer.all_answered());
        EXPECT_EQ(answerer.unexpected(), 0);
    }
    EXPECT_EQ(short_path(path), short_path(pad));
    EXPECT_EQ(title, "pad.nib");
    EXPECT_EQ(directories[sync_directory], directory_of(path));
    EXPECT_EQ(directories[open_directory], "");

    // The next dialog of that slot, given no path, starts there: a bare name is found.
    path.clear();
    {
        harness::DialogAnswerer answerer;
        answerer.fill_file_name("", "pad.nib");
        ASSERT_EQ(file_dialog(open_mode, sync_directory, nullptr, pad_filters, path, title), 1);
        EXPECT_EQ(answerer.unexpected(), 0);
    }
    EXPECT_EQ(short_path(path), short_path(pad));
}

TEST_F(FileDialog, CancelLeavesEverythingAsItWas) {
    std::string path = "unchanged", title = "unchanged";
    harness::DialogAnswerer answerer;
    answerer.press("", IDCANCEL);
    EXPECT_EQ(file_dialog(save_mode, export_directory, nullptr, pad_filters, path, title), 0);
    EXPECT_EQ(path, "unchanged");
    EXPECT_EQ(title, "unchanged");
    EXPECT_EQ(directories[export_directory], "");
}

TEST_F(FileDialog, SavedNameGetsTheDefaultExtension) {
    std::string path, title;
    harness::DialogAnswerer answerer;
    answerer.fill_file_name("", folder.path() + "exported");
    ASSERT_EQ(file_dialog(save_mode, export_directory, nullptr, {"Text Files", "*.txt"}, path, title), 1);
    EXPECT_EQ(title, "exported.nib");
    EXPECT_EQ(file_name_of(path), "exported.nib");
    EXPECT_EQ(directories[export_directory], directory_of(path));
}

TEST_F(FileDialog, LongNamesGrowTheBuffer) {
    // A full path well past the first buffer of 256 characters, yet within the system's limit.
    std::string name(250 - folder.path().size(), 'n');
    name.replace(name.size() - 4, 4, ".nib");
    std::string pad = folder.create_file(name);
    ASSERT_FALSE(short_path(pad).empty());

    std::string path, title;
    {
        // Chosen in a dialog whose buffer is too small: the dialog comes again with a larger one.
        harness::DialogAnswerer answerer;
        answerer.fill_file_name("", pad).fill_file_name("", pad);
        ASSERT_EQ(file_dialog(open_mode, open_directory, nullptr, pad_filters, path, title), 1);
        EXPECT_TRUE(answerer.all_answered());
    }
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
