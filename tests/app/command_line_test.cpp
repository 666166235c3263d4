// The command line of a start: a forwarding copy against a stand-in, a working copy, and end to
// end the real program started more than once, every later start handing on to the first.
#include "app/working_copy_lock.h"
#include "harness/process.h"
#include "app_test_support.h"
#include "ui/command_ids.h"
#include "ui/copy_data.h"
#include "ui/pad_window_fixture.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>
#include <memory>

namespace {

using namespace std::chrono_literals;

// What the stand-in running copy received: "code:text" for WM_COPYDATA, "command N" for WM_COMMAND.
std::vector<std::string> received;

LRESULT CALLBACK running_copy(HWND window, UINT message, WPARAM w, LPARAM l) {
    if (message == WM_COMMAND) {
        received.push_back("command " + std::to_string(LOWORD(w)));
        return 0;
    }
    if (message != WM_COPYDATA) return DefWindowProcA(window, message, w, l);
    const auto& record = *reinterpret_cast<const COPYDATASTRUCT*>(l);
    received.push_back(std::to_string(record.dwData) + ":" + copy_data_text(record.lpData, record.cbData));
    return reinterpret_cast<LRESULT>(window);  // the stand-in shows every pad itself
}

// A stand-in for a running copy's main window, of the program's own class.
struct RunningCopy {
    RunningCopy() {
        const WNDCLASSA window_class{0, running_copy, 0, 0, GetModuleHandleA(nullptr), {}, {}, {}, {}, "Scrivel"};
        UnregisterClassA("Scrivel", GetModuleHandleA(nullptr));  // left from earlier tests, without windows
        RegisterClassA(&window_class);
        handle = CreateWindowExA(0, "Scrivel", "", WS_OVERLAPPED, 0, 0, 10, 10, nullptr, nullptr, nullptr, nullptr);
    }
    ~RunningCopy() {
        DestroyWindow(handle);
        UnregisterClassA("Scrivel", GetModuleHandleA(nullptr));
        MSG left;  // a quit message left behind would end the next test's modal loops
        while (PeekMessageA(&left, nullptr, 0, 0, PM_REMOVE)) {}
    }
    HWND handle;
};

std::string full(const std::string& name) { return std::filesystem::absolute(name).string(); }

// The processes that own a window of the class, one entry per window.
std::vector<DWORD> window_owners(const char* class_name) {
    std::vector<DWORD> owners;
    for (HWND found = nullptr; (found = FindWindowExA(nullptr, found, class_name, nullptr)) != nullptr;) {
        DWORD process = 0;
        GetWindowThreadProcessId(found, &process);
        owners.push_back(process);
    }
    return owners;
}

using CommandLine = PadWindowTest;
// Only for its pad files and its guarded settings: the copies under test are other processes,
// which find pad files registered to themselves and so ask no Setup question.
using HandOver = PadWindowTest;

}  // namespace

TEST_F(CommandLine, AForwardingStartHandsEverythingToTheRunningCopy) {
    app.reset();
    RunningCopy running;
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
    // and it saves no settings over the running copy's.
    received.clear();
    app->restartCommand = "\"C:\\B.NIB\" ";
    WorkingCopyLock lock;
    EXPECT_EQ(app->run("", SW_SHOWNORMAL, lock), 0);
    EXPECT_EQ(received, std::vector<std::string>{"2:"});
    app->shutdown();
    EXPECT_FALSE(key_exists(HKEY_CURRENT_USER, "Software\\Velmoran\\Scrivel"));
}

// A quit that closes every window ends the program: see the hand-over test's "/q".
TEST_F(CommandLine, QuitCancelledAtASaveQuestionKeepsTheWorkingCopy) {
    const std::string a = write_pad("a.nib", {"apples"});
    app->autosave = 0;
    app->processArguments({a}, SW_SHOWNORMAL);
    ASSERT_EQ(app->windows.size(), 1u);
    app->windows[0]->padChanged = 1;
    answers.press("Save changes?", IDCANCEL);
    app->processArguments({a, "/q"}, SW_SHOWNORMAL);
    EXPECT_EQ(app->windows.size(), 1u);
    EXPECT_FALSE(take_quit_message());
}

TEST_F(HandOver, StartsAtOnceLaterOnesAndOneDuringADialogAllArriveInOneWorkingCopy) {
    // Set only now: the test's own application has already found the type registered to itself.
    harness::PadTypeRegisteredTo registered(short_path(built_program()));
    std::vector<std::string> all;
    std::vector<std::unique_ptr<harness::Process>> starts;
    for (int i = 0; i < 4; ++i) {
        all.push_back("pad " + std::to_string(i));
        const std::string pad = write_pad("p" + std::to_string(i) + ".nib", {all.back()});
        starts.push_back(std::make_unique<harness::Process>(program_with("\"" + pad + "\"")));
    }
    EXPECT_TRUE(harness::pump_until([&] { return window_owners("Scrivel").size() == 4; }, 30s));
    const HWND window = wait_for_window("Scrivel", "p0.nib");
    ASSERT_NE(window, nullptr);
    // For each other pad in turn: open it again, find a text in the first pad, synchronise the two.
    for (int i = 1; i < 4; ++i) {
        const std::string pad = "p" + std::to_string(i) + ".nib";
        for (const std::string& arguments : {pad, "p0.nib /f word" + std::to_string(i), "p0.nib /s " + pad})
            ASSERT_EQ(harness::run_process(program_with(arguments), dir.path(), 20s), 0u) << arguments;
    }
    EXPECT_EQ(window_text(GetDlgItem(window, 101)), "word3") << "the last find text arrived";
    // A start while the running copy waits in a dialog arrives too.
    write_pad("later.nib", {"later"});
    PostMessageA(window, WM_COMMAND, CMD_OTHER_SETTINGS, 0);
    HWND dialog = nullptr;
    ASSERT_TRUE(harness::pump_until([&] { return (dialog = FindWindowA("#32770", nullptr)) != nullptr; }, 10s));
    EXPECT_EQ(harness::run_process(program_with("later.nib"), dir.path(), 20s), 0u);
    EXPECT_NE(wait_for_window("Scrivel", "later.nib"), nullptr);
    PostMessageA(dialog, WM_COMMAND, IDCANCEL, 0);
    ASSERT_TRUE(harness::pump_until([&] { return !IsWindow(dialog); }, 10s));
    std::vector<DWORD> owners = window_owners("Scrivel");
    EXPECT_EQ(owners.size(), 5u) << "each pad in one window, however often it was asked for";
    std::sort(owners.begin(), owners.end());
    EXPECT_EQ(std::unique(owners.begin(), owners.end()) - owners.begin(), 1) << "one process owns them all";

    ASSERT_EQ(harness::run_process(program_with("/q"), dir.path(), 20s), 0u);
    for (auto& start : starts) EXPECT_EQ(start->wait(20s), 0u);
    EXPECT_EQ(FindWindowA("Scrivel", nullptr), nullptr) << "no window is left behind";
    EXPECT_EQ(sorted_nib_texts(read_pad_file(dir.path() + "p0.nib").pad), all) << "every synchronisation arrived and was saved on quitting";
}
