// End to end: the real program ended hard while a pad had unsaved changes, then started again.
// Typing into a saved and a new pad and its recovery is the journey's; here are the cases it cannot see.
#include "app_test_support.h"
#include "harness/process.h"
#include "sync/timestamp.h"
#include "ui/command_ids.h"
#include "ui/pad_window_fixture.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <optional>

namespace {

using namespace std::chrono_literals;

std::string box_text(HWND box) { return window_text(GetDlgItem(box, 0xFFFF)); }

class Recovery : public PadWindowTest {
protected:
    void SetUp() override {
        PadWindowTest::SetUp();
        // The user's local application data, for the programs this test starts, is its folder.
        RegSetKeyValueA(HKEY_CURRENT_USER, shell_folders, "Local AppData", REG_SZ, dir.path().c_str(),
                        static_cast<DWORD>(dir.path().size() + 1));
        // The programs this test starts ask no Setup question.
        registered_program.emplace(short_path(built_program()));
    }
    int recovery_files() const {
        int count = 0;
        std::error_code none;  // no folder before the first start
        for (const auto& entry : std::filesystem::directory_iterator(dir.path() + "Scrivel\\Recovery", none))
            count += entry.path().extension() == ".nib";
        return count;
    }
    std::unique_ptr<harness::Process> start() const {
        return std::make_unique<harness::Process>(program_with("pad.nib"), dir.path());
    }
    // Types into the window and waits for its recovery file.
    void type(HWND window, const std::string& text) const {
        for (char c : text) SendMessageA(GetDlgItem(window, textFieldId), WM_CHAR, static_cast<unsigned char>(c), 0);
        EXPECT_TRUE(harness::pump_until([&] { return recovery_files() == 1; }, 10s));
    }

    static constexpr const char* shell_folders =
        "Software\\Microsoft\\Windows\\CurrentVersion\\Explorer\\User Shell Folders";
    harness::RegistryKeyGuard folders{HKEY_CURRENT_USER, shell_folders};
    std::optional<harness::PadTypeRegisteredTo> registered_program;
};

}  // namespace

// A damaged recovery file is reported and kept aside; a nib deleted before a hard end stays
// deleted, on top of a nib nibtool added meanwhile; a Save, or "No" at the close of a new pad,
// removes the recovery; so does a clean end.
TEST_F(Recovery, ADeletedNibComesBackDeletedAfterAHardEndAndNoRecoveryOutlivesItsChanges) {
    const std::string pad = write_pad("pad.nib", {"gone", "kept"});
    std::filesystem::create_directories(dir.path() + "Scrivel\\Recovery");
    const std::string damaged = dir.path() + "Scrivel\\Recovery\\damaged.nib";
    std::ofstream(damaged) << "NNIBS (1): 1\nNIB0 (40): cut short";
    // Stamps of two processes within one second are ordered by how long each has run: the
    // program's change must come in a later second than the nibs this process wrote.
    const std::int32_t written = Timestamp::now().seconds;
    ASSERT_TRUE(harness::pump_until([&] { return Timestamp::now().seconds > written; }, 2s));
    {
        auto first = start();
        const HWND box = wait_for_window("#32770", "Scrivel");
        ASSERT_NE(box, nullptr);
        EXPECT_EQ(box_text(box), "The recovery file " + damaged + " is damaged; it was kept as " + damaged + ".damaged.");
        PostMessageA(box, WM_COMMAND, IDOK, 0);
        EXPECT_TRUE(std::filesystem::exists(damaged + ".damaged"));
        const HWND window = wait_for_window("Scrivel", "pad.nib");
        ASSERT_NE(window, nullptr) << "the start goes on";
        SendMessageA(window, WM_COMMAND, CMD_DELETE_NIB, 0);
        EXPECT_TRUE(harness::pump_until([&] { return recovery_files() == 1; }, 10s));
    }  // ended hard
    const std::string nibtool = directory_of(built_program()) + "..\\tools\\nibtool.exe";
    ASSERT_EQ(harness::run_process("\"" + nibtool + "\" add \"" + pad + "\" elsewhere"), 0u);
    auto second = start();
    const HWND box = wait_for_window("#32770", "Scrivel");
    ASSERT_NE(box, nullptr);
    EXPECT_EQ(box_text(box), "Scrivel recovered 1 changed nibs of pad.nib from a session that ended unexpectedly.");
    PostMessageA(box, WM_COMMAND, IDOK, 0);
    const HWND window = wait_for_window("Scrivel", "pad.nib");
    ASSERT_NE(window, nullptr);
    SendMessageA(window, WM_COMMAND, CMD_NEW_NIB, 0);
    type(window, "typed");
    SendMessageA(window, WM_COMMAND, CMD_SAVE, 0);
    EXPECT_EQ(recovery_files(), 0);

    SendMessageA(window, WM_COMMAND, CMD_NEW_PAD, 0);
    const HWND new_pad = wait_for_window("Scrivel", "New Pad");
    ASSERT_NE(new_pad, nullptr);
    type(new_pad, "typed");
    PostMessageA(new_pad, WM_CLOSE, 0, 0);
    const HWND question = wait_for_window("#32770", "Save changes?");
    ASSERT_NE(question, nullptr);
    PostMessageA(question, WM_COMMAND, IDNO, 0);
    EXPECT_TRUE(harness::pump_until([&] { return recovery_files() == 0; }, 10s));
    SendMessageA(window, WM_COMMAND, CMD_NEW_NIB, 0);
    type(window, "more");  // saved by the quit (Autosave)
    EXPECT_EQ(harness::run_process(program_with("/q"), dir.path(), 20s), 0u);
    EXPECT_EQ(second->wait(20s), 0u);
    EXPECT_EQ(recovery_files(), 0) << "a clean end leaves no recovery";
    EXPECT_EQ(sorted_nib_texts(read_pad_file(pad).pad), (std::vector<std::string>{"elsewhere", "kept", "more", "typed"}));
}
