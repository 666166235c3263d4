// The program registering itself at a start, and "/u" taking it all away again: the real
// registry and real shortcut files of the test prefix, put back as they were afterwards.
#include "app_test_support.h"

#include "app/application.h"
#include "harness/dialog_answerer.h"
#include "harness/registry_guard.h"
#include "support/texts.h"
#include "ui/resource_ids.h"

#include <gtest/gtest.h>

#include <shlobj.h>

#include <filesystem>
#include <list>
#include <memory>
#include <utility>

namespace {

const std::string app_paths = "Software\\Microsoft\\Windows\\CurrentVersion\\App Paths\\scrivel.exe";
const std::string uninstall_entry = "Software\\Microsoft\\Windows\\CurrentVersion\\Uninstall\\scrivel";

std::string shortcut_in(int folder, int fallback) {
    std::string path = special_folder_path(folder);
    if (path.empty()) path = special_folder_path(fallback);
    return path + "\\Scrivel.lnk";
}

bool exists(const std::string& path) { return std::filesystem::exists(path); }

std::string registered() {
    std::string program;
    registered_program("nibfile", program);
    return program;
}

class Installation : public ::testing::Test {
protected:
    Installation() {
        for (const auto& [root, path] : keys) guards.emplace_back(root, path);
    }
    void SetUp() override {
        CoInitialize(nullptr);
        // A first start: nothing of the program in the registry or among the shortcuts.
        for (const auto& [root, path] : keys) RegDeleteTreeA(root, path.c_str()), RegDeleteKeyA(root, path.c_str());
        for (const std::string& shortcut : shortcuts) std::filesystem::remove(shortcut);
    }
    void TearDown() override {
        for (const std::string& shortcut : shortcuts) std::filesystem::remove(shortcut);
        CoUninitialize();
    }
    // A working copy whose start asked what `answerer` answered.
    std::unique_ptr<Application> start() {
        auto app = std::make_unique<Application>(GetModuleHandleA(nullptr));
        app->checkInstallation();
        return app;
    }

    const std::vector<std::pair<HKEY, std::string>> keys = {
        {HKEY_CURRENT_USER, "Software\\Velmoran\\Scrivel"},  {HKEY_CLASSES_ROOT, ".nib"},
        {HKEY_CLASSES_ROOT, "nibfile"},                       {HKEY_CURRENT_USER, "Software\\Classes\\.nib"},
        {HKEY_CURRENT_USER, "Software\\Classes\\nibfile"},   {HKEY_LOCAL_MACHINE, app_paths},
        {HKEY_LOCAL_MACHINE, uninstall_entry},                {HKEY_CURRENT_USER, app_paths},
        {HKEY_CURRENT_USER, uninstall_entry},
    };
    std::list<harness::RegistryKeyGuard> guards;
    const std::string start_menu = shortcut_in(CSIDL_COMMON_PROGRAMS, CSIDL_PROGRAMS);
    const std::string desktop = shortcut_in(CSIDL_COMMON_DESKTOPDIRECTORY, CSIDL_DESKTOP);
    const std::vector<std::string> shortcuts = {start_menu, desktop};
    const std::string own = program_path();
};

}  // namespace

TEST_F(Installation, AFirstStartAsksAndEachAnswerKeepsItsWord) {
    {
        harness::DialogAnswerer answerer;
        answerer.press("Uninstall complete", IDOK);
        Application(GetModuleHandleA(nullptr)).run("/u", SW_SHOWNORMAL);
        EXPECT_EQ(answerer.seen().size(), 1u) << "an uninstall is not offered an install first";
    }
    {
        harness::DialogAnswerer answerer;
        answerer.press("Setup", IDC_SETUP_LATER);
        EXPECT_EQ(start()->changeRegistry, 1);
        EXPECT_EQ(registered(), "") << "remind me later changes nothing";
        ASSERT_TRUE(answerer.all_answered());
        EXPECT_EQ(answerer.seen()[0].text, texts.modify_registry);
    }
    {
        harness::DialogAnswerer answerer;
        answerer.press("Setup", IDC_SETUP_NEVER);
        start()->saveSettings();
        EXPECT_TRUE(answerer.all_answered());
    }
    {
        harness::DialogAnswerer answerer(std::chrono::milliseconds(500));
        start();
        EXPECT_TRUE(answerer.seen().empty()) << "never again means never";
    }
    RegDeleteTreeA(HKEY_CURRENT_USER, "Software\\Velmoran\\Scrivel");
    harness::DialogAnswerer answerer(std::chrono::milliseconds(500));
    answerer.press("Setup", IDOK).press("Shortcut", IDYES).press("Shortcut", IDNO);
    start();
    EXPECT_TRUE(answerer.all_answered());
    EXPECT_EQ(registered(), own);
    EXPECT_TRUE(exists(start_menu));
    EXPECT_FALSE(exists(desktop));
    // What the shell reads: the type, its icon and command, the program's path and its uninstall command.
    const std::string machine = "HKEY_LOCAL_MACHINE\\", classes = "HKEY_CLASSES_ROOT\\";
    EXPECT_EQ(read_text(classes + ".nib", ""), "nibfile");
    EXPECT_EQ(read_text(classes + "nibfile", ""), "Scrivel Pad");
    EXPECT_EQ(read_text(classes + "nibfile\\DefaultIcon", ""), own + ",-" + std::to_string(IDI_PAD_FILE));
    EXPECT_EQ(read_text(classes + "nibfile\\shell\\open\\command", ""), "\"" + own + "\" \"%1\"");
    EXPECT_EQ(read_text(machine + app_paths, ""), own);
    EXPECT_EQ(read_text(machine + uninstall_entry, "UninstallString"), "\"" + own + "\" /u");
    start();
    EXPECT_EQ(answerer.seen().size(), 3u) << "a registered program is not asked again";

    // "/u" leaves no key of the file type (with what the shell added), no application entry and no
    // shortcut behind.
    for (const char* added : {".nib\\OpenWithProgids\\", "nibfile\\shell\\print\\"}) open_key(classes + added, true);
    harness::DialogAnswerer done;
    done.press("Uninstall complete", IDOK);
    auto app = start();
    app->uninstall();
    EXPECT_TRUE(done.all_answered());
    for (const auto& [root, path] : keys) EXPECT_FALSE(key_exists(root, path)) << path;
    EXPECT_FALSE(exists(start_menu));
}

TEST_F(Installation, AMovedProgramRenewsItsEntriesAndOnlyTheShortcutsThatExist) {
    TempDirectory old_place;
    const std::string old_program = old_place.create_file("old.exe");
    {
        harness::PadTypeRegisteredTo moved(own);
        // The same file named in other letters is no move.
        std::string lower = own;
        for (char& c : lower) c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
        harness::PadTypeRegisteredTo other_case(lower);
        harness::DialogAnswerer answerer(std::chrono::milliseconds(500));
        start();
        EXPECT_TRUE(answerer.seen().empty());
    }
    harness::PadTypeRegisteredTo moved(old_program);
    ASSERT_GE(create_shortcut(old_program, start_menu, "old"), 0);
    // Moved for real: the old file is gone.
    std::filesystem::remove(old_program);
    harness::DialogAnswerer answerer;
    answerer.press("Setup", IDOK);
    start();
    ASSERT_TRUE(answerer.all_answered());
    EXPECT_EQ(answerer.seen()[0].text, texts.program_moved);
    EXPECT_EQ(registered(), own);
    EXPECT_TRUE(exists(start_menu));
    EXPECT_FALSE(exists(desktop)) << "no shortcut is made where there was none";
    EXPECT_FALSE(exists(start_menu + ".new"));
}

TEST_F(Installation, ARegistrationTheMachineRefusesGoesToTheUserAndATotalRefusalIsTold) {
    std::unique_ptr<Application> app;
    {
        harness::PadTypeRegisteredTo quiet(own);
        app = start();
    }
    const RegistrationPlace refused{"HKEY_NOWHERE\\", "HKEY_NOWHERE\\", "HKEY_NOWHERE\\"};
    app->registrationPlaces = {refused, user_registration};
    harness::DialogAnswerer answerer(std::chrono::milliseconds(500));
    answerer.press("Setup", IDOK).press("Shortcut", IDNO).press("Shortcut", IDNO);
    app->checkInstallation();
    EXPECT_EQ(registered(), own);
    EXPECT_TRUE(key_exists(HKEY_CURRENT_USER, "Software\\Classes\\nibfile\\shell\\open\\command"));
    EXPECT_TRUE(key_exists(HKEY_CURRENT_USER, "Software\\Classes\\.nib"));
    EXPECT_TRUE(key_exists(HKEY_CURRENT_USER, app_paths));
    EXPECT_TRUE(key_exists(HKEY_CURRENT_USER, uninstall_entry));
    EXPECT_FALSE(key_exists(HKEY_LOCAL_MACHINE, uninstall_entry));
    app->uninstall();
    for (const auto& [root, path] : keys) EXPECT_FALSE(key_exists(root, path)) << path;

    EXPECT_FALSE(register_association("nib", "nibfile", texts.pad_file_type, IDI_PAD_FILE, refused));
    app->registrationPlaces = {refused};
    MessageCapture capture;
    answerer.press("Setup", IDOK);
    app->checkInstallation();
    ASSERT_EQ(capture.shown.size(), 1u);
    EXPECT_EQ(capture.shown[0].text, texts.registration_refused);
    EXPECT_EQ(registered(), "");
}

TEST_F(Installation, ShortcutsGoWhereTheUserMayPutThemAndUninstallSaysWhatStays) {
    harness::PadTypeRegisteredTo quiet(own);
    auto app = start();
    TempDirectory folders;
    const std::string common = folders.path() + "common", mine = folders.path() + "mine";
    for (const std::string& folder : {common, mine}) std::filesystem::create_directories(folder);
    const RegistrationPlace refused{"HKEY_NOWHERE\\", "HKEY_NOWHERE\\", "HKEY_NOWHERE\\"};
    const struct {
        const char* name;
        std::vector<RegistrationPlace> registration;
        std::string common, expected;
    } cases[] = {
        {"the folder for every user takes it", {machine_registration}, common, common},
        {"the folder for every user refuses", {machine_registration}, folders.path() + "refused", mine},
        {"registered for this user alone", {refused, user_registration}, common, mine},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        app->registrationPlaces = c.registration;
        app->shortcutPlaces = {{{c.common, mine}, {"", ""}}};
        harness::DialogAnswerer answerer;
        answerer.press("Shortcut", IDYES).press("Shortcut", IDNO);
        app->install();
        EXPECT_TRUE(answerer.all_answered());
        EXPECT_TRUE(exists(c.expected + texts.shortcut_file));
        EXPECT_EQ(exists(common + texts.shortcut_file) + exists(mine + texts.shortcut_file), 1);
        std::filesystem::remove(c.expected + texts.shortcut_file);
    }
    // One shortcut in each of the Start menu's folders; the desktop's refuses removal of its own.
    const std::string refusing = folders.path() + "refusing" + texts.shortcut_file;
    std::filesystem::create_directories(refusing);
    for (const std::string& folder : {common, mine}) ASSERT_GE(create_shortcut(own, folder + texts.shortcut_file, ""), 0);
    app->shortcutPlaces = {{{common, mine}, {folders.path() + "refusing", folders.path() + "missing"}}};
    MessageCapture capture;
    app->uninstall();
    ASSERT_EQ(capture.shown.size(), 1u);
    EXPECT_EQ(capture.shown[0].title, texts.uninstall_complete);
    EXPECT_EQ(capture.shown[0].text, texts.registry_removed + std::string(texts.not_removed) + "\n" + refusing);
    EXPECT_FALSE(exists(common + texts.shortcut_file) || exists(mine + texts.shortcut_file));
}

namespace {

// A volume without short names, as the program's own under "My Tools" is.
std::string program_with_blanks;

DWORD WINAPI module_with_blanks(HMODULE, LPSTR buffer, DWORD size) {
    lstrcpynA(buffer, program_with_blanks.c_str(), static_cast<int>(size));
    return static_cast<DWORD>(std::min<std::size_t>(program_with_blanks.size(), size));
}

DWORD WINAPI long_names_only(LPCSTR path, LPSTR buffer, DWORD size) {
    const DWORD length = lstrlenA(path);
    if (GetFileAttributesA(path) == INVALID_FILE_ATTRIBUTES) return 0;
    if (size <= length) return length + 1;
    lstrcpyA(buffer, path);
    return length;
}

struct PathQueriesSwapped {
    PathQueriesSwapped(PathQueries replacement) : system(std::exchange(path_queries, replacement)) {}
    ~PathQueriesSwapped() { path_queries = system; }
    PathQueries system;
};

}  // namespace

TEST_F(Installation, AProgramPathWithBlanksIsRegisteredQuotedAndReadInEitherForm) {
    TempDirectory directory;
    {
        const std::string long_path = directory.create_file("Long Program Name.exe");
        harness::PadTypeRegisteredTo real_short_names(long_path);
        EXPECT_EQ(registered(), short_path(long_path));
        EXPECT_EQ(registered().find(' '), std::string::npos);
    }

    std::filesystem::create_directories(directory.path() + "My Tools");
    program_with_blanks = directory.create_file("My Tools\\scrivel.exe");
    PathQueriesSwapped no_short_names({module_with_blanks, long_names_only});
    const std::string user_command = user_registration.classes + "nibfile\\shell\\open\\command\\";
    {
        harness::DialogAnswerer answerer;
        answerer.press("Setup", IDOK).press("Shortcut", IDNO).press("Shortcut", IDNO);
        start();
        EXPECT_TRUE(answerer.all_answered());
    }
    const std::string gone = directory.path() + "Old Place\\scrivel.exe";
    const struct {
        const char* name;
        std::string command, program;
        const char* question;
    } cases[] = {
        {"as registered", read_text(machine_registration.classes + "nibfile\\shell\\open\\command\\", ""),
         program_with_blanks, nullptr},
        {"as older copies wrote it", program_with_blanks + " \"%1\"", program_with_blanks, nullptr},
        {"a program that has moved", "\"" + gone + "\" \"%1\"", gone, texts.program_moved},
        {"nothing registered", "", "", texts.modify_registry},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        write_string(open_key(user_command, true).get(), "", c.command);
        EXPECT_EQ(registered(), c.program);
        harness::DialogAnswerer answerer(std::chrono::milliseconds(500));
        if (c.question) answerer.press("Setup", IDC_SETUP_LATER);
        start();
        ASSERT_EQ(answerer.seen().size(), c.question ? 1u : 0u);
        if (c.question) { EXPECT_EQ(answerer.seen()[0].text, c.question); }
    }
}
