// The shell helpers, centring, and the file dialogs with their remembered folders.
#include "app_test_support.h"

#include "harness/dialog_answerer.h"
#include "support/util.h"

#include <gtest/gtest.h>

#include <shlobj.h>

#include <iterator>
#include <utility>

namespace {

class FileDialog : public ::testing::Test {
protected:
    FileDialog() { bind_file_dialogs(GetModuleHandleA(nullptr), &directories); }
    ~FileDialog() override { bind_file_dialogs(nullptr, nullptr); }

    // Runs the dialog, which the harness answers by typing `name` `times` times, or with `button` as shown.
    int choose(int mode, int slot, const std::string& name, int times = 1, int button = IDCANCEL) {
        harness::DialogAnswerer answerer;
        for (int i = 0; i < times; ++i) name.empty() ? answerer.press("", button) : answerer.fill_file_name("", name);
        const int chosen = file_dialog(mode, slot, nullptr, {"Scrivel pads", "*.nib", "All Files", "*.*"}, path, title);
        EXPECT_TRUE(answerer.all_answered());
        EXPECT_EQ(answerer.unexpected(), 0);
        return chosen;
    }

    DirectorySlots directories;
    TempDirectory folder;
    std::string path, title;
};

}  // namespace

TEST(Shell, ShortPathsDisplayNamesFoldersAndShortcuts) {
    TempDirectory directory;
    const std::string file = directory.create_file("A Rather Long File Name.nib");
    const std::string short_form = short_path(file);
    EXPECT_TRUE(!short_form.empty() && short_form.find(' ') == std::string::npos) << short_form;
    char module[MAX_PATH] = {};
    GetModuleFileNameA(nullptr, module, MAX_PATH);
    EXPECT_EQ(program_path(), short_path(module)) << "the form the registry entries are written in";
    EXPECT_NE(display_name(file).find("A Rather Long File Name"), std::string::npos) << display_name(file);
    EXPECT_EQ(display_name(directory.path() + "no such pad.nib"), "no such pad.nib");
    EXPECT_EQ(special_folder_path(0x7e), "") << "an unknown folder, for which a fallback is taken";
    const std::string link = directory.path() + "Scrivel.lnk";
    ASSERT_GE(CoInitialize(nullptr), 0);
    EXPECT_GE(create_shortcut(file, link, "Scrivel application"), 0);
    // A path too long to convert is refused, not saved cut off under another name.
    EXPECT_LT(create_shortcut(file, directory.path() + std::string(MAX_PATH, 'x') + ".lnk", "Scrivel application"), 0);
    CoUninitialize();
    std::ifstream stream(link, std::ios::binary);
    const std::string bytes((std::istreambuf_iterator<char>(stream)), std::istreambuf_iterator<char>());
    EXPECT_NE(bytes.find("A Rather Long File Name.nib"), std::string::npos) << "the link names its target";
}

TEST(Centring, OverTheOwnerAndNotAGoneWindow) {
    HWND owner = CreateWindowExA(0, "STATIC", "", WS_POPUP, 100, 50, 400, 300, nullptr, nullptr, nullptr, nullptr);
    HWND owned = CreateWindowExA(0, "STATIC", "", WS_POPUP, 0, 0, 100, 60, owner, nullptr, nullptr, nullptr);
    center_window(owned);
    RECT rect;
    GetWindowRect(owned, &rect);
    EXPECT_EQ(std::pair(rect.left, rect.top), std::pair(250L, 170L));
    DestroyWindow(owner);
    EXPECT_THROW(center_window(owned), msg_exception);
}

TEST_F(FileDialog, ChoiceIsRememberedPerSlotAndCancelChangesNothing) {
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

    path = title = "unchanged";
    EXPECT_EQ(choose(save_mode, export_directory, ""), 0);
    EXPECT_EQ(path + title, "unchangedunchanged");
    EXPECT_EQ(directories[export_directory], "");
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
    ASSERT_EQ(choose(open_mode, open_directory, "", 1, IDOK), 1);
    EXPECT_EQ(short_path(path), short_path(pad));
}
