// End to end: the real program ended hard while a pad had unsaved changes, then started again.
#include "harness/process.h"
#include "started_program.h"
#include "sync/timestamp.h"
#include "ui/command_ids.h"
#include "ui/pad_window_fixture.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <optional>

namespace {

using namespace std::chrono_literals;

// A message box's text.
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
    static void type(HWND window, const std::string& text) {
        for (char c : text) SendMessageA(GetDlgItem(window, textFieldId), WM_CHAR, static_cast<unsigned char>(c), 0);
    }
    // Quits the program; a changed pad with a file is saved on the way (Autosave).
    void quit(harness::Process& running) const {
        EXPECT_EQ(harness::run_process(program_with("/q"), dir.path(), 20s), 0u);
        EXPECT_EQ(running.wait(20s), 0u);
        EXPECT_EQ(recovery_files(), 0) << "a clean end leaves no recovery";
    }

    static constexpr const char* shell_folders =
        "Software\\Microsoft\\Windows\\CurrentVersion\\Explorer\\User Shell Folders";
    harness::RegistryKeyGuard folders{HKEY_CURRENT_USER, shell_folders};
    std::optional<harness::PadTypeRegisteredTo> registered_program;
};

}  // namespace

TEST_F(Recovery, ChangesComeBackAfterAHardEnd) {
    struct Case {
        const char* name;
        std::vector<std::string> nibs;
        unsigned command;  // before the typing
        const char* typed;
        bool changedElsewhere;  // the pad file, while the program was not running
        const char* window;
        std::vector<std::string> saved;
    };
    const Case cases[] = {
        {"typing in a saved pad", {"old"}, CMD_NEW_NIB, "typed", false, "pad.nib", {"old", "typed"}},
        {"a deleted nib", {"gone", "kept"}, CMD_DELETE_NIB, "", false, "pad.nib", {"kept"}},
        {"a pad changed elsewhere", {"old"}, CMD_NEW_NIB, "typed", true, "pad.nib", {"elsewhere", "old", "typed"}},
        {"a new pad", {"old"}, CMD_NEW_PAD, "typed", false, "New Pad", {"old"}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        const std::string pad = write_pad("pad.nib", c.nibs);
        // Stamps of two processes within one second are ordered by how long each has run: the
        // program's change must come in a later second than the nibs this process wrote.
        const std::int32_t written = Timestamp::now().seconds;
        ASSERT_TRUE(harness::pump_until([&] { return Timestamp::now().seconds > written; }, 2s));
        {
            auto first = start();
            const HWND window = wait_for_window("Scrivel", "pad.nib");
            ASSERT_NE(window, nullptr);
            SendMessageA(window, WM_COMMAND, c.command, 0);
            type(c.command == CMD_NEW_PAD ? wait_for_window("Scrivel", "New Pad") : window, c.typed);
            ASSERT_TRUE(harness::pump_until([&] { return recovery_files() == 1; }, 10s));
        }  // ended hard
        if (c.changedElsewhere) {
            const std::string nibtool = directory_of(built_program()) + "..\\tools\\nibtool.exe";
            ASSERT_EQ(harness::run_process("\"" + nibtool + "\" add \"" + pad + "\" elsewhere"), 0u);
        }
        auto second = start();
        const HWND box = wait_for_window("#32770", "Scrivel");
        ASSERT_NE(box, nullptr);
        EXPECT_EQ(box_text(box), "Scrivel recovered 1 changed nibs of " + std::string(c.window) +
                                     " from a session that ended unexpectedly.");
        PostMessageA(box, WM_COMMAND, IDOK, 0);
        const HWND recovered = wait_for_window("Scrivel", c.window);
        ASSERT_NE(recovered, nullptr);
        if (c.command == CMD_NEW_PAD) {
            EXPECT_EQ(window_text(GetDlgItem(recovered, textFieldId)), c.typed);
            PostMessageA(recovered, WM_CLOSE, 0, 0);
            const HWND question = wait_for_window("#32770", "Save changes?");
            ASSERT_NE(question, nullptr) << "the recovered pad is changed";
            PostMessageA(question, WM_COMMAND, IDNO, 0);
        }
        quit(*second);
        EXPECT_EQ(sorted_nib_texts(read_pad_file(pad).pad), c.saved);
    }
}

TEST_F(Recovery, ADamagedFileIsReportedAndASaveRemovesTheRecovery) {
    write_pad("pad.nib", {"old"});
    std::filesystem::create_directories(dir.path() + "Scrivel\\Recovery");
    const std::string damaged = dir.path() + "Scrivel\\Recovery\\damaged.nib";
    std::ofstream(damaged) << "NNIBS (1): 1\nNIB0 (40): cut short";
    auto running = start();
    const HWND box = wait_for_window("#32770", "Scrivel");
    ASSERT_NE(box, nullptr);
    EXPECT_EQ(box_text(box), "The recovery file " + damaged + " is damaged; it was kept as " + damaged + ".damaged.");
    PostMessageA(box, WM_COMMAND, IDOK, 0);
    EXPECT_TRUE(std::filesystem::exists(damaged + ".damaged"));

    const HWND window = wait_for_window("Scrivel", "pad.nib");
    ASSERT_NE(window, nullptr) << "the start goes on";
    SendMessageA(window, WM_COMMAND, CMD_NEW_NIB, 0);
    type(window, "typed");
    ASSERT_TRUE(harness::pump_until([&] { return recovery_files() == 1; }, 10s));
    SendMessageA(window, WM_COMMAND, CMD_SAVE, 0);
    EXPECT_EQ(recovery_files(), 0);
    quit(*running);
}
