// End to end: the real program started more than once; every later start hands its command line
// to the first and ends at once.
#include "harness/input.h"
#include "harness/process.h"
#include "support/reg.h"
#include "support/util.h"
#include "ui/pad_window_fixture.h"

#include <gtest/gtest.h>

#include <algorithm>

namespace {

using namespace std::chrono_literals;

// scrivel.exe of the same build tree.
std::string program() {
    char module[MAX_PATH] = {};
    GetModuleFileNameA(nullptr, module, MAX_PATH);
    return directory_of(module) + "..\\..\\src\\app\\scrivel.exe";
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

std::vector<std::string> sorted_nibs(const std::string& path) {
    const PadDocument document = read_pad_file(path);
    std::vector<std::string> texts;
    for (const Nib& nib : document.pad.nibs()) texts.push_back(nib.text());
    std::sort(texts.begin(), texts.end());
    return texts;
}

// Only for its pad files and its guarded settings: the copies under test are other processes.
class HandOver : public PadWindowTest {
    // They are not the program the pad type is registered to, and must not stop at the Setup
    // question, whatever an earlier run left in the prefix.
    void SetUp() override {
        PadWindowTest::SetUp();
        write_dword(open_key(settings_key_path, true).get(), "Change Registry", 0);
    }
};

}  // namespace

TEST_F(HandOver, LaterStartsFindSynchroniseAndQuitInTheFirstAndEndAtOnce) {
    const std::string a = write_pad("a.nib", {"apples", "pears"});
    write_pad("b.nib", {"plums"});
    harness::Process first(quoted(program()) + " " + quoted(a));
    const HWND window = wait_for_window("a.nib");
    ASSERT_NE(window, nullptr);
    // Later starts run in the pads' folder, which the first copy does not share.
    auto start = [&](const std::string& arguments) {
        return harness::run_process(quoted(program()) + " " + arguments, dir.path(), 20s);
    };
    EXPECT_EQ(start("a.nib /f pears"), 0u);
    EXPECT_EQ(control_text(window, 101), "pears");
    EXPECT_EQ(control_text(window, 102), "pears");
    EXPECT_EQ(start("a.nib /s b.nib"), 0u);
    EXPECT_NE(FindWindowA("Scrivel", "b.nib"), nullptr);
    EXPECT_EQ(start("/q"), 0u);
    EXPECT_EQ(first.wait(20s), 0u) << "the first copy quit";
    const std::vector<std::string> all{"apples", "pears", "plums"};
    EXPECT_EQ(sorted_nibs(a), all) << "saved on quitting";
    EXPECT_EQ(sorted_nibs(dir.path() + "b.nib"), all);
}

TEST_F(HandOver, AStartThroughThePathOpensTheDefaultPadBesideTheProgram) {
    const std::string folder = dir.path() + "program\\", elsewhere = dir.path() + "elsewhere\\";
    CreateDirectoryA(folder.c_str(), nullptr);
    CreateDirectoryA(elsewhere.c_str(), nullptr);
    ASSERT_TRUE(CopyFileA(program().c_str(), (folder + "scrivel.exe").c_str(), FALSE));
    write_pad("program\\Default Pad.nib", {"the default pad"});
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
