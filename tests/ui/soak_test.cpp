// Many pads and a large one in real windows: nothing is lost, nothing is left behind.
#include "pad_window_fixture.h"

#include "harness/input.h"
#include "ui/command_ids.h"

#include <gtest/gtest.h>

TEST_F(PadWindowTest, ThirtyPadsOpenAtOnceAndCloseWithoutLeftovers) {
    std::vector<std::string> paths;
    for (int i = 0; i < 30; ++i) paths.push_back(write_pad("many" + std::to_string(i) + ".nib", {"pad " + std::to_string(i)}));
    for (const std::string& path : paths) open(path);
    ASSERT_EQ(app->windows.size(), 30u);
    for (std::size_t i = 0; i < paths.size(); ++i) {
        EXPECT_EQ(open(paths[i]), app->windows[i]) << "an open pad is found, not opened again";
        EXPECT_EQ(text_of(app->windows[i]->textField), "pad " + std::to_string(i));
    }
    const std::size_t mapped = windowMap.size();
    EXPECT_EQ(mapped, 30u * 5u) << "each window and its four framework controls";
    command(app->windows.front(), CMD_QUIT);
    EXPECT_TRUE(app->windows.empty());
    EXPECT_TRUE(windowMap.empty()) << "every object went with its window";
    MSG quit;
    EXPECT_TRUE(PeekMessageA(&quit, nullptr, WM_QUIT, WM_QUIT, PM_REMOVE));
}

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
    const std::string query = "needle";
    for (char key : query) SendMessageA(window->findField->hwnd, WM_CHAR, static_cast<WPARAM>(key), 0);
    EXPECT_EQ(text_of(window->findField), query);
    EXPECT_EQ(text_of(window->statusLabel), "1 of 100");
    EXPECT_EQ(text_of(window->textField), "Nib number 7 holds the needle");

    SendMessageA(window->textField->hwnd, EM_REPLACESEL, TRUE, reinterpret_cast<LPARAM>("pin"));
    ASSERT_EQ(command(window, CMD_SAVE), 1);
    const Pad saved = read_pad_file(path).pad;
    ASSERT_EQ(saved.count(), nibs);
    EXPECT_EQ(saved.nibs()[7].text(), "Nib number 7 holds the pin");
    EXPECT_EQ(saved.nibs()[nibs - 1].text(), "Nib number 99999 is hay");
}
