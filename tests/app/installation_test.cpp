// The program registering itself at a start, and "/u" taking it all away again: the real
// registry and real shortcut files of the test prefix, put back as they were afterwards.
#include "app_test_support.h"

#include "app/application.h"
#include "app/working_copy_lock.h"
#include "harness/dialog_answerer.h"
#include "harness/registry_guard.h"
#include "support/texts.h"
#include "ui/resource_ids.h"

#include <gtest/gtest.h>

#include <shlobj.h>

#include <filesystem>
#include <functional>
#include <list>
#include <memory>
#include <utility>

namespace {

using namespace std::chrono_literals;
using Answers = std::vector<std::pair<std::string, int>>;  // dialog title, button
using Questions = std::vector<std::string>;

const std::string app_paths = "Software\\Microsoft\\Windows\\CurrentVersion\\App Paths\\scrivel.exe";
const std::string uninstall_entry = "Software\\Microsoft\\Windows\\CurrentVersion\\Uninstall\\scrivel";
const RegistrationPlace refused{"HKEY_NOWHERE\\", "HKEY_NOWHERE\\", "HKEY_NOWHERE\\"};

std::string registered() {
    std::string program;
    registered_program("nibfile", program);
    return program;
}

class Installation : public ::testing::Test {
protected:
    void SetUp() override {
        CoInitialize(nullptr);
        for (const auto& [root, path] : keys) guards.emplace_back(root, path);
        // A first start: nothing of the program in the registry or among the shortcuts.
        for (const auto& [root, path] : keys) RegDeleteTreeA(root, path.c_str()), RegDeleteKeyA(root, path.c_str());
        for (const std::string& shortcut : {start_menu, desktop}) std::filesystem::remove(shortcut);
    }
    void TearDown() override {
        app.reset();
        CoUninitialize();
    }
    // Runs `step` with its questions getting `answers` in turn; returns the questions asked.
    static Questions answering(const Answers& answers, const std::function<void()>& step) {
        harness::DialogAnswerer answerer(500ms);
        for (const auto& [title, button] : answers) answerer.press(title, button);
        step();
        EXPECT_TRUE(answerer.all_answered());
        Questions asked;
        for (const harness::SeenDialog& dialog : answerer.seen()) asked.push_back(dialog.text);
        return asked;
    }
    // A new working copy checks its installation.
    Questions start(const Answers& answers) {
        app.reset();
        return answering(answers, [&] {
            app = std::make_unique<Application>(GetModuleHandleA(nullptr));
            app->checkInstallation();
        });
    }

    const std::vector<std::pair<HKEY, std::string>> keys = {
        {HKEY_CURRENT_USER, "Software\\Velmoran\\Scrivel"},  {HKEY_CLASSES_ROOT, ".nib"},
        {HKEY_CLASSES_ROOT, "nibfile"},                       {HKEY_CURRENT_USER, "Software\\Classes\\.nib"},
        {HKEY_CURRENT_USER, "Software\\Classes\\nibfile"},   {HKEY_LOCAL_MACHINE, app_paths},
        {HKEY_LOCAL_MACHINE, uninstall_entry},                {HKEY_CURRENT_USER, app_paths},
        {HKEY_CURRENT_USER, uninstall_entry},
    };
    std::list<harness::RegistryKeyGuard> guards;
    // Where the shortcuts of a registration for every user go.
    const std::string start_menu = special_folder_path(CSIDL_COMMON_PROGRAMS) + texts.shortcut_file;
    const std::string desktop = special_folder_path(CSIDL_COMMON_DESKTOPDIRECTORY) + texts.shortcut_file;
    const std::string own = program_path();
    std::unique_ptr<Application> app;
};

}  // namespace

TEST_F(Installation, EachAnswerAtAStartKeepsItsWordAndUninstallTakesEverything) {
    {
        Application(GetModuleHandleA(nullptr)).saveSettings();  // for the uninstall to take
        WorkingCopyLock lock;
        Application uninstalling(GetModuleHandleA(nullptr));
        EXPECT_EQ(answering({{"Uninstall complete", IDOK}},
                            [&] {
                                uninstalling.run("/u", SW_SHOWNORMAL, lock);
                                uninstalling.shutdown();
                            }),
                  Questions{texts.registry_removed})
            << "an uninstall is not offered an install first";
        EXPECT_FALSE(key_exists(HKEY_CURRENT_USER, "Software\\Velmoran\\Scrivel")) << "the settings go, not written back";
    }
    const Questions setup{texts.modify_registry}, nothing;
    EXPECT_EQ(start({{"Setup", IDC_SETUP_LATER}}), setup);
    EXPECT_EQ(start({{"Setup", IDC_SETUP_NEVER}}), setup);
    app->saveSettings();
    EXPECT_EQ(start({}), nothing) << "never again means never";

    RegDeleteTreeA(HKEY_CURRENT_USER, "Software\\Velmoran\\Scrivel");
    EXPECT_EQ(start({{"Setup", IDOK}, {"Shortcut", IDYES}, {"Shortcut", IDNO}}),
              (Questions{texts.modify_registry, texts.start_menu_shortcut, texts.desktop_shortcut}));
    EXPECT_TRUE(std::filesystem::exists(start_menu));
    EXPECT_FALSE(std::filesystem::exists(desktop));
    // What the shell reads: the type, its icon and command, the program's path and its uninstall command.
    const std::string machine = "HKEY_LOCAL_MACHINE\\", classes = "HKEY_CLASSES_ROOT\\";
    const struct {
        std::string key, name, value;
    } values[] = {
        {classes + ".nib", "", "nibfile"},
        {classes + "nibfile", "", "Scrivel Pad"},
        {classes + "nibfile\\DefaultIcon", "", own + ",-" + std::to_string(IDI_PAD_FILE)},
        {classes + "nibfile\\shell\\open\\command", "", "\"" + own + "\" \"%1\""},
        {machine + app_paths, "", own},
        {machine + uninstall_entry, "UninstallString", "\"" + own + "\" /u"},
    };
    for (const auto& v : values) EXPECT_EQ(read_text(v.key, v.name), v.value) << v.key;
}

// The same file in other letters or in its long form is no move; older copies wrote a path
// with blanks unquoted. A move renews the entries and only the shortcuts that exist.
TEST_F(Installation, AProgramRegisteredElsewhereHasMovedAndItsShortcutsFollow) {
    std::string lower = own, long_form(MAX_PATH, '\0');
    CharLowerA(lower.data());
    long_form.resize(GetLongPathNameA(own.c_str(), long_form.data(), MAX_PATH));
    ASSERT_NE(long_form, own);
    TempDirectory elsewhere;
    const std::string blanks = elsewhere.path() + "scrivel.exe";  // the folder's name has blanks
    std::ofstream(blanks) << "program";
    const std::string gone = elsewhere.path() + "Old Place\\scrivel.exe";
    const struct {
        std::string command, program;
        Questions asked;
    } cases[] = {
        {"\"" + lower + "\" \"%1\"", own, {}},
        {"\"" + long_form + "\" \"%1\"", own, {}},
        {blanks + " \"%1\"", short_path(blanks), {texts.program_moved}},
        {"\"" + gone + "\" \"%1\"", gone, {texts.program_moved}},
    };
    for (const auto& c : cases) {
        write_string(open_key(user_registration.classes + "nibfile\\shell\\open\\command\\", true).get(), "", c.command);
        EXPECT_EQ(lstrcmpiA(registered().c_str(), c.program.c_str()), 0) << registered();
        EXPECT_EQ(start(c.asked.empty() ? Answers{} : Answers{{"Setup", IDC_SETUP_LATER}}), c.asked) << c.command;
    }
    ASSERT_GE(create_shortcut(blanks, start_menu, "old"), 0);
    EXPECT_EQ(start({{"Setup", IDOK}}), Questions{texts.program_moved});
    EXPECT_EQ(registered(), own);
    EXPECT_TRUE(std::filesystem::exists(start_menu));
    EXPECT_FALSE(std::filesystem::exists(desktop)) << "no shortcut is made where there was none";
    EXPECT_FALSE(std::filesystem::exists(start_menu + ".new"));
}

// A first start answered with Setup and a Start menu shortcut, in registries and folders that
// refuse in turn; then an uninstall that cannot remove everything says what stays.
TEST_F(Installation, EntriesAndShortcutsGoWhereTheyMayAndEveryRefusalIsTold) {
    app = std::make_unique<Application>(GetModuleHandleA(nullptr));
    TempDirectory folders;
    const std::string common = folders.path() + "common", mine = folders.path() + "mine";
    const std::string refusing = folders.path() + "refusing";  // a folder stands where its shortcut would go
    for (const std::string& folder : {common, mine, refusing + texts.shortcut_file})
        std::filesystem::create_directories(folder);
    const Answers answers{{"Setup", IDOK}, {"Shortcut", IDYES}, {"Shortcut", IDNO}};
    const struct {
        const char* name;
        std::vector<RegistrationPlace> registration;
        std::string common, own;
        int asked;             // of the answers above, before a refusal ends the questions
        HKEY entries;          // where the application entries go; none when refused
        std::string shortcut;  // the folder the shortcut goes to
        std::string told;      // how the text of a message shown begins
    } cases[] = {
        {"the folder for every user refuses", {machine_registration}, refusing, mine, 3, HKEY_LOCAL_MACHINE, mine, ""},
        {"the machine refuses", {refused, user_registration}, common, mine, 3, HKEY_CURRENT_USER, mine, ""},
        {"every registry refuses", {refused}, common, mine, 1, nullptr, "", texts.registration_refused},
        {"no folder takes the shortcut", {user_registration}, "", refusing, 2, HKEY_CURRENT_USER, "",
         "An unexpected error: installation.cpp::"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        app->registrationPlaces = c.registration;
        app->shortcutPlaces = {{{c.common, c.own}, {"", ""}}};
        MessageCapture capture;
        answering(Answers(answers.begin(), answers.begin() + c.asked), [&] { app->checkInstallation(); });
        EXPECT_EQ(registered(), c.entries ? own : "");
        const std::string told = capture.shown.empty() ? "" : capture.shown[0].text;
        EXPECT_TRUE(told.starts_with(c.told) && told.empty() == c.told.empty()) << told;
        for (HKEY root : {HKEY_LOCAL_MACHINE, HKEY_CURRENT_USER})
            EXPECT_EQ(key_exists(root, uninstall_entry), root == c.entries);
        for (const std::string& folder : {common, mine})
            EXPECT_EQ(std::filesystem::exists(folder + texts.shortcut_file), folder == c.shortcut) << folder;
        // The shell may still hold the new shortcut open for a moment.
        EXPECT_TRUE(c.shortcut.empty() || harness::pump_until([&] {
                        std::error_code busy;
                        return std::filesystem::remove(c.shortcut + texts.shortcut_file, busy) || !busy;
                    }));
        app->uninstall();
        for (const auto& [root, path] : keys) EXPECT_FALSE(key_exists(root, path)) << path;
    }
    // One shortcut in each of the Start menu's folders; the desktop's refuses removal of its own.
    for (const std::string& folder : {common, mine}) ASSERT_GE(create_shortcut(own, folder + texts.shortcut_file, ""), 0);
    app->shortcutPlaces = {{{common, mine}, {refusing, folders.path() + "missing"}}};
    MessageCapture capture;
    app->uninstall();
    ASSERT_EQ(capture.shown.size(), 1u);
    EXPECT_EQ(capture.shown[0].title, texts.uninstall_complete);
    EXPECT_EQ(capture.shown[0].text,
              texts.registry_removed + std::string(texts.not_removed) + "\n" + refusing + texts.shortcut_file);
    EXPECT_FALSE(std::filesystem::exists(common + texts.shortcut_file) || std::filesystem::exists(mine + texts.shortcut_file));
}
