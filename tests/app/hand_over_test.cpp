// End to end: the real program started more than once; every later start hands its command line
// to the first and ends at once.
#include "harness/input.h"
#include "harness/process.h"
#include "support/util.h"
#include "ui/command_ids.h"
#include "ui/pad_window_fixture.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>
#include <memory>

namespace {

using namespace std::chrono_literals;

// scrivel.exe of the same build tree.
std::string program() {
    const std::filesystem::path tests = directory_of(program_path());
    return (tests / "..\\..\\src\\app\\scrivel.exe").lexically_normal().string();
}

std::string quoted(const std::string& text) { return "\"" + text + "\""; }

// The pad window titled `title` of any process, once it is there.
HWND wait_for_window(const std::string& title) {
    HWND found = nullptr;
    harness::pump_until([&] { return (found = FindWindowA("Scrivel", title.c_str())) != nullptr; }, 20s);
    return found;
}

// The text of a control of another process.
std::string control_text(HWND window, int control) {
    char text[512] = {};
    SendMessageTimeoutA(GetDlgItem(window, control), WM_GETTEXT, sizeof text, reinterpret_cast<LPARAM>(text),
                        SMTO_ABORTIFHUNG, 5000, nullptr);
    return text;
}

// Only for its pad files and its guarded settings: the copies under test are other processes,
// which find pad files registered to themselves and so ask no Setup question.
class HandOver : public PadWindowTest {};

}  // namespace

TEST_F(HandOver, AStartThroughThePathOpensTheDefaultPadBesideTheProgram) {
    const std::string folder = dir.path() + "program\\", elsewhere = dir.path() + "elsewhere\\";
    CreateDirectoryA(folder.c_str(), nullptr);
    CreateDirectoryA(elsewhere.c_str(), nullptr);
    ASSERT_TRUE(CopyFileA(program().c_str(), (folder + "scrivel.exe").c_str(), FALSE));
    write_pad("program\\Default Pad.nib", {"the default pad"});
    // The copy is where pad files open, so it asks no Setup question.
    harness::PadTypeRegisteredTo registered_copy(short_path(folder + "scrivel.exe"));
    // Found through PATH, the program's command line names it without a folder.
    char path[32767] = {};
    GetEnvironmentVariableA("PATH", path, sizeof path);
    SetEnvironmentVariableA("PATH", (dir.path() + "program;" + path).c_str());
    harness::Process copy("scrivel.exe", elsewhere);
    SetEnvironmentVariableA("PATH", path);
    const HWND window = wait_for_window("Default Pad.nib");
    ASSERT_NE(window, nullptr);
    // The window is found while it is still loading the pad.
    EXPECT_TRUE(harness::pump_until([&] { return control_text(window, 102) == "the default pad"; }, 3s))
        << "shows " << control_text(window, 102);
    PostMessageA(window, WM_CLOSE, 0, 0);
    EXPECT_EQ(copy.wait(20s), 0u);
}

TEST_F(HandOver, AHundredLaterStartsInARowAllArriveAndLeaveNoWindowBehind) {
    const std::string soak = write_pad("soak.nib", {"soak"});
    std::vector<std::string> all{"soak"};
    for (int i = 0; i < 10; ++i) {
        write_pad("p" + std::to_string(i) + ".nib", {"pad " + std::to_string(i)});
        all.push_back("pad " + std::to_string(i));
    }
    // Set only now: the test's own application has already found the type registered to itself.
    harness::PadTypeRegisteredTo registered(short_path(program()));
    harness::Process first(quoted(program()) + " " + quoted(soak));
    const HWND window = wait_for_window("soak.nib");
    ASSERT_NE(window, nullptr);
    // In turn: open a pad, find a text in the first pad, synchronise the first pad with another.
    for (int i = 0; i < 100; ++i) {
        const std::string pad = "p" + std::to_string(i % 10) + ".nib";
        const std::string arguments[] = {pad, "soak.nib /f word" + std::to_string(i), "soak.nib /s " + pad};
        ASSERT_EQ(harness::run_process(quoted(program()) + " " + arguments[i % 3], dir.path(), 20s), 0u) << i;
    }
    EXPECT_EQ(control_text(window, 101), "word97") << "the last find text arrived";
    int pads = 0;
    for (HWND found = nullptr; (found = FindWindowExA(nullptr, found, "Scrivel", nullptr)) != nullptr;) ++pads;
    EXPECT_EQ(pads, 11) << "each pad in one window, however often it was asked for";

    ASSERT_EQ(harness::run_process(quoted(program()) + " /q", dir.path(), 20s), 0u);
    EXPECT_EQ(first.wait(20s), 0u);
    EXPECT_EQ(FindWindowA("Scrivel", nullptr), nullptr) << "no window is left behind";
    std::sort(all.begin(), all.end());
    EXPECT_EQ(sorted_nib_texts(read_pad_file(soak).pad), all) << "every synchronisation arrived and was saved on quitting";
}

namespace {

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

}  // namespace

TEST_F(HandOver, PadsStartedAllAtOnceOpenInOneWorkingCopy) {
    harness::PadTypeRegisteredTo registered(short_path(program()));
    for (int round = 0; round < 2; ++round) {
        std::vector<std::unique_ptr<harness::Process>> starts;
        for (int i = 0; i < 8; ++i) {
            const std::string pad = write_pad("m" + std::to_string(i) + ".nib", {"pad " + std::to_string(i)});
            starts.push_back(std::make_unique<harness::Process>(quoted(program()) + " " + quoted(pad)));
        }
        std::vector<DWORD> owners;
        EXPECT_TRUE(harness::pump_until([&] { return (owners = window_owners("Scrivel")).size() == 8; }, 30s))
            << round << ": " << owners.size() << " windows";
        std::sort(owners.begin(), owners.end());
        EXPECT_EQ(std::unique(owners.begin(), owners.end()) - owners.begin(), 1) << round << ": one process owns them";
        ASSERT_EQ(harness::run_process(quoted(program()) + " /q", dir.path(), 20s), 0u);
        for (auto& start : starts) EXPECT_EQ(start->wait(20s), 0u) << round;
    }
}

TEST_F(HandOver, AStartWhileTheRunningCopyWaitsInADialogArrives) {
    const std::string first_pad = write_pad("first.nib", {"first"}), later_pad = write_pad("later.nib", {"later"});
    harness::PadTypeRegisteredTo registered(short_path(program()));
    harness::Process first(quoted(program()) + " " + quoted(first_pad));
    const HWND window = wait_for_window("first.nib");
    ASSERT_NE(window, nullptr);
    PostMessageA(window, WM_COMMAND, CMD_OTHER_SETTINGS, 0);
    HWND dialog = nullptr;
    ASSERT_TRUE(harness::pump_until([&] { return (dialog = FindWindowA("#32770", nullptr)) != nullptr; }, 10s));
    EXPECT_EQ(harness::run_process(quoted(program()) + " " + quoted(later_pad), dir.path(), 20s), 0u);
    EXPECT_NE(wait_for_window("later.nib"), nullptr);
    EXPECT_EQ(window_owners("Scrivel").size(), 2u);
    PostMessageA(dialog, WM_COMMAND, IDCANCEL, 0);
    ASSERT_TRUE(harness::pump_until([&] { return !IsWindow(dialog); }, 10s));
    ASSERT_EQ(harness::run_process(quoted(program()) + " /q", dir.path(), 20s), 0u);
    EXPECT_EQ(first.wait(20s), 0u);
}
