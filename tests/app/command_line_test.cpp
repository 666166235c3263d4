// The command line of a start: a forwarding copy against a stand-in running copy, and a working
// copy with real pad windows.
#include "app/working_copy_lock.h"
#include "harness/dialog_answerer.h"
#include "ui/copy_data.h"
#include "ui/pad_window_fixture.h"

#include <gtest/gtest.h>

#include <filesystem>

namespace {

// What the stand-in running copy received: "code:text" for WM_COPYDATA, "command N" for WM_COMMAND.
std::vector<std::string> received;

LRESULT CALLBACK running_copy(HWND window, UINT message, WPARAM w, LPARAM l) {
    if (message == WM_COMMAND) {
        received.push_back("command " + std::to_string(LOWORD(w)));
        return 0;
    }
    if (message != WM_COPYDATA) return DefWindowProcA(window, message, w, l);
    const auto& record = *reinterpret_cast<const COPYDATASTRUCT*>(l);
    const std::string text = copy_data_text(record.lpData, record.cbData);
    const bool terminated = record.cbData == 0 || static_cast<const char*>(record.lpData)[record.cbData - 1] == '\0';
    received.push_back(std::to_string(record.dwData) + ":" + text +
                       (record.cbData == copy_data_size(text) && terminated ? "" : " (wrong size)"));
    // The stand-in shows every pad itself.
    return reinterpret_cast<LRESULT>(window);
}

std::string full(const std::string& name) { return std::filesystem::absolute(name).string(); }

// Whether a quit message is waiting; takes it away.
bool take_quit_message() {
    MSG quit;
    return PeekMessageA(&quit, nullptr, WM_QUIT, WM_QUIT, PM_REMOVE) != 0;
}

class CommandLine : public PadWindowTest {};

}  // namespace

TEST_F(CommandLine, AForwardingStartHandsEverythingToTheRunningCopy) {
    app.reset();
    FakeWindow running("Scrivel", running_copy);
    SetPropA(running.handle, readyForHandOver, reinterpret_cast<HANDLE>(1));
    app = std::make_unique<Application>(GetModuleHandleA(nullptr));
    ASSERT_EQ(app->otherInstance, running.handle);
    // The running copy has a folder of its own: relative names reach it completed.
    const std::filesystem::path home = std::filesystem::current_path();
    std::filesystem::current_path(dir.path());
    const struct {
        std::vector<std::string> arguments;
        std::vector<std::string> sent;
        bool quits;
    } cases[] = {
        {{"a.nib", "/f", "word"}, {"1:" + full("a.nib"), "command 50", "3:word"}, false},
        {{"/f", "word"}, {"1:" + full("/f"), "command 50", "1:" + full("word"), "command 50"}, false},
        {{"a.nib", "/s"}, {"1:" + full("a.nib"), "command 50", "1:" + full("/s"), "command 50"}, false},
        {{"a.nib", "/s", "b.nib", "/q"}, {"1:" + full("a.nib"), "command 50", "4:" + full("b.nib"), "command 22"}, true},
        {{"/q"}, {"command 22"}, true},
    };
    for (const auto& c : cases) {
        received.clear();
        app->processArguments(c.arguments, SW_SHOWNORMAL);
        EXPECT_EQ(received, c.sent) << ::testing::PrintToString(c.arguments);
        EXPECT_EQ(take_quit_message(), c.quits) << ::testing::PrintToString(c.arguments);
    }
    std::filesystem::current_path(home);
    EXPECT_TRUE(app->windows.empty());

    // Without arguments it brings the running copy forward, whatever restart command is stored,
    // and it makes no graphics and saves no settings.
    received.clear();
    app->restartCommand = "\"C:\\B.NIB\" ";
    WorkingCopyLock lock;
    EXPECT_EQ(app->run("", SW_SHOWNORMAL, lock), 0);
    EXPECT_EQ(received, std::vector<std::string>{"2:"});
    EXPECT_EQ(app->boldFont, nullptr);
    app->shutdown();
    EXPECT_FALSE(key_exists(HKEY_CURRENT_USER, "Software\\Velmoran\\Scrivel"));
}

TEST_F(CommandLine, QuitEndsTheWorkingCopyOnlyWhenItsWindowsClosed) {
    const std::string a = write_pad("a.nib", {"apples"});
    app->autosave = 0;
    for (auto [answer, closes] : {std::pair{IDCANCEL, false}, {IDNO, true}}) {
        app->processArguments({a}, SW_SHOWNORMAL);
        ASSERT_EQ(app->windows.size(), 1u);
        app->windows[0]->padChanged = 1;
        harness::DialogAnswerer answerer;
        answerer.press("Save changes?", answer);
        app->processArguments({a, "/q"}, SW_SHOWNORMAL);
        EXPECT_TRUE(answerer.all_answered());
        EXPECT_EQ(app->windows.empty(), closes) << answer;
        EXPECT_EQ(take_quit_message(), closes) << "a cancelled question keeps the program running";
    }
}
