// The command line of a start: a forwarding copy against a stand-in running copy, and a working
// copy with real pad windows.
#include "harness/dialog_answerer.h"
#include "support/texts.h"
#include "ui/copy_data.h"
#include "ui/pad_window_fixture.h"

#include <gtest/gtest.h>

#include <shlobj.h>

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

class CommandLine : public PadWindowTest {};

}  // namespace

TEST_F(CommandLine, AForwardingStartHandsEverythingToTheRunningCopy) {
    app.reset();
    FakeWindow running("Scrivel", running_copy);
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
        {{}, {"2:"}, false},
    };
    for (const auto& c : cases) {
        received.clear();
        app->processArguments(c.arguments, SW_SHOWNORMAL);
        EXPECT_EQ(received, c.sent) << ::testing::PrintToString(c.arguments);
        EXPECT_EQ(take_quit_message(), c.quits) << ::testing::PrintToString(c.arguments);
    }
    std::filesystem::current_path(home);
    EXPECT_TRUE(app->windows.empty());
}

TEST_F(CommandLine, PadsOpenOnceFindTextAndSynchronisationReachTheirWindows) {
    const std::string a = write_pad("a.nib", {"apples", "pears"}), b = write_pad("b.nib", {"plums"});
    app->processArguments({a, "/f", "pears"}, SW_SHOWNORMAL);
    ASSERT_EQ(app->windows.size(), 1u);
    MainWindow* first = app->windows[0];
    EXPECT_EQ(text_of(first->findField), "pears");
    EXPECT_EQ(text_of(first->textField), "pears");

    app->processArguments({b}, SW_SHOWNORMAL);
    app->processArguments({a}, SW_SHOWNORMAL);
    ASSERT_EQ(app->windows.size(), 2u) << "a pad already open is not opened again";
    EXPECT_EQ(app->windows[0], first);
    EXPECT_EQ(GetForegroundWindow(), first->hwnd) << "its window comes to the front";

    app->processArguments({a, "/s", b}, SW_SHOWNORMAL);
    for (MainWindow* window : app->windows) EXPECT_EQ(window->pad.count(), 3) << window->fileName;
}

TEST_F(CommandLine, UninstallRemovesEntriesSettingsAndShortcutsAndOpensNothing) {
    using harness::RegistryKeyGuard;
    const std::string app_paths = "SOFTWARE\\Microsoft\\Windows\\CurrentVersion\\App Paths\\scrivel.exe";
    const std::string uninstall = "SOFTWARE\\Microsoft\\Windows\\CurrentVersion\\Uninstall\\scrivel";
    RegistryKeyGuard extension(HKEY_CLASSES_ROOT, ".nib"), type(HKEY_CLASSES_ROOT, "nibfile");
    RegistryKeyGuard path_entry(HKEY_LOCAL_MACHINE, app_paths), uninstall_entry(HKEY_LOCAL_MACHINE, uninstall);
    std::vector<std::string> shortcuts;
    for (int folder : {CSIDL_COMMON_PROGRAMS, CSIDL_COMMON_DESKTOPDIRECTORY})
        if (const std::string path = special_folder_path(folder); !path.empty())
            shortcuts.push_back(path + texts.shortcut_file);
    ASSERT_EQ(shortcuts.size(), 2u);
    FileGuard start_menu(shortcuts[0]), desktop(shortcuts[1]);
    for (const std::string& shortcut : shortcuts) std::ofstream(shortcut) << "link";
    register_association("nib", "nibfile", "Scrivel Pad", 2);
    register_application("scrivel", "Scrivel");
    app->saveSettings();

    MessageCapture capture;
    app->processArguments({"/u"}, SW_SHOWNORMAL);
    EXPECT_EQ(app->settingsRemoved, 1);
    EXPECT_TRUE(app->windows.empty()) << "no default pad";
    EXPECT_TRUE(take_quit_message());
    for (auto [root, key] : {std::pair{HKEY_CLASSES_ROOT, std::string(".nib")},
                             {HKEY_CLASSES_ROOT, std::string("nibfile\\shell\\open\\command")},
                             {HKEY_LOCAL_MACHINE, app_paths},
                             {HKEY_LOCAL_MACHINE, uninstall},
                             {HKEY_CURRENT_USER, std::string("Software\\Velmoran\\Scrivel")}})
        EXPECT_FALSE(key_exists(root, key)) << key;
    for (const std::string& shortcut : shortcuts)
        EXPECT_EQ(GetFileAttributesA(shortcut.c_str()), INVALID_FILE_ATTRIBUTES) << shortcut;
    ASSERT_EQ(capture.shown.size(), 1u);
    EXPECT_EQ(capture.shown[0].text, texts.registry_removed);
    EXPECT_EQ(capture.shown[0].title, "Uninstall complete");
    EXPECT_EQ(capture.shown[0].style, 64u);

    // A working copy that still shows a pad goes on.
    app->processArguments({write_pad("a.nib", {"apples"}), "/u"}, SW_SHOWNORMAL);
    EXPECT_EQ(app->windows.size(), 1u);
    EXPECT_FALSE(take_quit_message());
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
