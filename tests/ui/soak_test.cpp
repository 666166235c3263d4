// Many pads and a large one in real windows: nothing is lost, nothing is left behind.
#include "pad_window_fixture.h"

// Quit closes the windows in turn and stops at a Cancel; then it ends the program, leaving nothing.
TEST_F(PadWindowTest, QuitClosesThirtyPadsInTurnUntilOneIsCancelled) {
    app->autosave = 0;
    std::vector<MainWindow*> windows;
    for (int i = 0; i < 30; ++i) {
        windows.push_back(open(write_pad("q" + std::to_string(i) + ".nib", {"pad " + std::to_string(i)})));
        if (i < 3) type_into(windows.back(), "changed ");
    }
    EXPECT_EQ(open(dir.path() + "q29.nib"), windows[29]) << "an open pad is found, not opened again";
    EXPECT_EQ(windowMap.size(), 30u * 5u) << "each window and its four framework controls";
    answers.press("Save changes?", IDNO).press("Save changes?", IDCANCEL);
    command(windows[0], CMD_QUIT);
    EXPECT_TRUE(answers.all_answered());
    EXPECT_EQ(app->windows, std::vector<MainWindow*>(windows.begin() + 1, windows.end()));
    EXPECT_EQ(app->restartCommand, "\"" + short_path(dir.path() + "q0.nib") + "\" ");
    EXPECT_FALSE(take_quit_message()) << "a cancelled Quit ends nothing";

    answers.press("Save changes?", IDNO).press("Save changes?", IDNO);
    command(windows[1], CMD_QUIT);
    EXPECT_TRUE(answers.all_answered());
    EXPECT_TRUE(app->windows.empty());
    EXPECT_TRUE(windowMap.empty()) << "every object went with its window";
    EXPECT_TRUE(take_quit_message());
}

// Finding runs over the whole pad at each key pressed in the find field.
TEST_F(PadWindowTest, ALargePadIsSearchedKeystrokeByKeystrokeAndSavedWhole) {
    constexpr int nibs = 100000;
    Pad pad;
    for (int i = 0; i < nibs; ++i) {
        pad.new_nib();
        pad.set_current_text("Nib number " + std::to_string(i) + (i % 1000 == 7 ? " holds the needle" : " is hay"));
    }
    const std::string path = dir.path() + "large.nib";
    write_pad_file(path, {}, pad);
    MainWindow* window = open(path);
    ASSERT_EQ(window->pad.count(), nibs);
    ASSERT_TRUE(harness::bring_to_front(window->hwnd));
    SetFocus(window->findField->hwnd);
    const struct {
        const char *keys, *found, *status;
        DWORD start, end;  // of the selected match
    } steps[] = {
        {"N", "n", "1 of 100000", 0, 1},          // a current nib that matches stays current
        {"EEDLE", "needle", "1 of 100", 23, 29},  // else the first match becomes current
    };
    for (const auto& step : steps) {
        for (const char* key = step.keys; *key; ++key) harness::press_key(static_cast<WORD>(*key));
        ASSERT_TRUE(harness::pump_until([&] { return text_of(window->findField) == step.found; })) << step.found;
        EXPECT_EQ(text_of(window->statusLabel), step.status);
        EXPECT_EQ(selection(window->textField), std::make_pair(step.start, step.end));
    }
    EXPECT_EQ(text_of(window->textField), "Nib number 7 holds the needle");
    EXPECT_EQ(window->padChanged, 0) << "finding changes nothing";

    type_into(window, "pin");
    ASSERT_EQ(command(window, CMD_SAVE), 1);
    const Pad saved = read_pad_file(path).pad;
    ASSERT_EQ(saved.count(), nibs);
    EXPECT_EQ(saved.nibs()[7].text(), "Nib number 7 holds the pin");
    EXPECT_EQ(saved.nibs()[nibs - 1].text(), "Nib number 99999 is hay");
}
