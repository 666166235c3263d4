// A pad window whose file is changed by other programs while it is open: nothing written there
// and nothing typed here is lost.
#include "pad_window_fixture.h"

// Activation takes in what another program added; a save merges another program's edit of a nib
// with what was typed here into another.
TEST_F(PadWindowTest, ActivationAndSaveTakeInWhatOtherProgramsWroteToThePadFile) {
    const std::string path = write_pad("synced.nib", {"first", "second"});
    MainWindow* window = open(path);
    ASSERT_TRUE(harness::bring_to_front(new_pad()->hwnd));
    PadDocument document = read_pad_file(path);
    document.pad.new_nib();
    document.pad.set_current_text("added elsewhere");
    write_pad_file(path, document.header, document.pad);
    ASSERT_TRUE(harness::bring_to_front(window->hwnd));
    EXPECT_EQ(nib_texts(window->pad), (Strings{"first", "second", "added elsewhere"}));
    EXPECT_EQ(window->padChanged, 0) << "what came from the file need not be written back";

    document.pad.go_to(1);
    document.pad.set_current_text("first, edited elsewhere");
    write_pad_file(path, document.header, document.pad);
    command(window, CMD_NEXT);
    SendMessageA(window->textField->hwnd, EM_SETSEL, 0, -1);
    type_into(window, "second, typed here");
    ASSERT_EQ(command(window, CMD_SAVE), 1);
    const Strings all = {"added elsewhere", "first, edited elsewhere", "second, typed here"};
    EXPECT_EQ(sorted_nib_texts(read_pad_file(path).pad), all);
    EXPECT_EQ(sorted_nib_texts(window->pad), all);
    EXPECT_EQ(window->padChanged, 0);
}
