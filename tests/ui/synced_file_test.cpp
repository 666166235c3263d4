// A pad window whose file is changed by other programs while it is open: nothing written there
// and nothing typed here is lost.
#include "pad_window_fixture.h"

#include "harness/input.h"
#include "harness/process.h"
#include "ui/command_ids.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>

namespace {

using Strings = std::vector<std::string>;

// nibtool.exe of the same build, as another program that writes the pad.
std::string nibtool() {
    char self[MAX_PATH] = {};
    GetModuleFileNameA(nullptr, self, MAX_PATH);
    return (std::filesystem::path(self).parent_path() / "../../src/tools/nibtool.exe").lexically_normal().string();
}

void nibtool_add(const std::string& pad, const std::string& text) {
    EXPECT_EQ(harness::run_process("\"" + nibtool() + "\" add \"" + pad + "\" \"" + text + "\""), DWORD{0});
}

// Another program's edit of the first nib: the same nib, newer text.
void edit_first_nib(const std::string& path, const std::string& text) {
    PadDocument document = read_pad_file(path);
    document.pad.go_to(1);
    document.pad.set_current_text(text);
    write_pad_file(path, document.header, document.pad);
}

}  // namespace

TEST_F(PadWindowTest, SaveMergesWhatOtherProgramsWroteToThePadFile) {
    const std::string path = write_pad("synced.nib", {"first", "second"});
    MainWindow* window = open(path);
    nibtool_add(path, "added by nibtool");
    edit_first_nib(path, "first, edited elsewhere");
    SendMessageA(window->hwnd, WM_COMMAND, CMD_NEXT, 0);
    SendMessageA(window->textField->hwnd, EM_SETSEL, 0, -1);
    SendMessageA(window->textField->hwnd, EM_REPLACESEL, TRUE, reinterpret_cast<LPARAM>("second, typed here"));
    ASSERT_EQ(command(window, CMD_SAVE), 1);
    const Strings all = {"added by nibtool", "first, edited elsewhere", "second, typed here"};
    EXPECT_EQ(sorted_nib_texts(read_pad_file(path).pad), all);
    EXPECT_EQ(sorted_nib_texts(window->pad), all);
    EXPECT_EQ(text_of(window->textField), "second, typed here") << "the window stays on its nib";
    EXPECT_EQ(text_of(window->statusLabel), "2 of 3");
    EXPECT_EQ(window->padChanged, 0);
}

TEST_F(PadWindowTest, ActivationTakesChangesAndACutFileIsNeverTakenForDeletions) {
    const std::string path = write_pad("watched.nib", {"mine"});
    MainWindow* window = open(path);
    MainWindow* elsewhere = window_of(app->newPad(SW_SHOWNORMAL));
    ASSERT_TRUE(harness::bring_to_front(elsewhere->hwnd));
    nibtool_add(path, "from another machine");
    ASSERT_TRUE(harness::bring_to_front(window->hwnd));
    EXPECT_EQ(sorted_nib_texts(window->pad), (Strings{"from another machine", "mine"}));
    EXPECT_EQ(window->padChanged, 0) << "what came from the file need not be written back";
    EXPECT_EQ(text_of(window->textField), "mine");

    // The sync service has written half of the file so far.
    ASSERT_TRUE(harness::bring_to_front(elsewhere->hwnd));
    std::filesystem::resize_file(path, std::filesystem::file_size(path) / 2);
    ASSERT_TRUE(harness::bring_to_front(window->hwnd));
    EXPECT_EQ(sorted_nib_texts(window->pad), (Strings{"from another machine", "mine"}));
    window->padChanged = 1;
    ASSERT_EQ(command(window, CMD_SAVE), 1);
    EXPECT_EQ(sorted_nib_texts(read_pad_file(path).pad), (Strings{"from another machine", "mine"}));
}
