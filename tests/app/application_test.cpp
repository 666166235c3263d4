#include "app_test_support.h"

#include "app/application.h"
#include "harness/registry_guard.h"
#include "support/texts.h"
#include "ui/main_window.h"

#include <gtest/gtest.h>

#include <cstdint>

namespace {

const char* const settings_key = "Software\\Velmoran\\Scrivel";

// The pad a start without arguments opens.
std::string default_pad() { return directory_of(program_path()) + texts.default_pad_name; }

// Every test starts without the settings key or the default pad; the prefix's own settings come back afterwards.
class ApplicationTest : public ::testing::Test {
protected:
    void SetUp() override {
        RegDeleteTreeA(HKEY_CURRENT_USER, settings_key);
        DeleteFileA(default_pad().c_str());
    }
    void TearDown() override { DeleteFileA(default_pad().c_str()); }
    harness::RegistryKeyGuard guard{HKEY_CURRENT_USER, settings_key};
    harness::PadTypeRegisteredTo registered{program_path()};
    HINSTANCE instance = GetModuleHandleA(nullptr);
};

// The files of the pad windows open once the loop runs; it closes them, which ends the run.
std::vector<std::string> closed_pads;
void CALLBACK close_pads(HWND, UINT, UINT_PTR timer, DWORD) {
    KillTimer(nullptr, timer);
    for (MainWindow* window : theApplication->windows) {
        closed_pads.push_back(window->fileName);
        PostMessageA(window->hwnd, WM_CLOSE, 0, 0);
    }
}

// Every stored setting: the value the first run writes and another one, as a text or a number's
// decimal text. A misspelt or swapped name, or a wrong type, fails.
struct StoredSetting {
    const char* name;
    DWORD type;
    std::string first_run, changed;
};
const StoredSetting stored_settings[] = {
    {"Font Name", REG_SZ, "MS Sans Serif", "Courier New"},
    {"Font Size", REG_DWORD, "11", "14"},
    {"Default Win Width", REG_DWORD, "400", "640"},
    {"Default Win Height", REG_DWORD, "450", "-480"},
    {"Window Margin", REG_DWORD, "7", "3"},
    {"Field Spacing", REG_DWORD, "7", "4"},
    {"Change Registry", REG_DWORD, "1", "0"},
    {"Match Font Name", REG_SZ, "MS Sans Serif", "Arial"},
    {"Match Font Size", REG_DWORD, "11", "9"},
    {"Autosave", REG_DWORD, "1", "0"},
    {"Restart Command", REG_SZ, "", "\"C:\\A~1.NIB\" "},
    {"Default Open Dir", REG_SZ, "", "0"},
    {"Default Save Dir", REG_SZ, "", "1"},
    {"Default Export Dir", REG_SZ, "", "3"},
    {"Default Import Dir", REG_SZ, "", "2"},
    {"Default Insert Dir", REG_SZ, "", "4"},
    {"Default Sync Dir", REG_SZ, "", "5"},
    {"Default Save Copy Dir", REG_SZ, "", "6"},
};

// Checks the settings key holds the table's values, each read only as its own type.
void expect_stored(std::string StoredSetting::*value) {
    const RegistryKey key = open_key(settings_key_path, false);
    for (const StoredSetting& setting : stored_settings) {
        std::string text = "<missing>";
        std::int32_t number = INT32_MIN;
        read_string(key.get(), setting.name, text);
        read_dword(key.get(), setting.name, number);
        EXPECT_EQ(setting.type == REG_DWORD ? std::to_string(number) : text, setting.*value) << setting.name;
    }
}

}  // namespace

TEST_F(ApplicationTest, FirstRunStoresTheDefaultsAndFailedRunsAreShown) {
    MessageCapture capture;
    closed_pads.clear();
    SetTimer(nullptr, 0, 10, close_pads);
    EXPECT_EQ(runApplication(instance, "", SW_SHOWNORMAL), 0);
    EXPECT_EQ(closed_pads, std::vector<std::string>{default_pad()}) << "a new pad that will be saved there";
    EXPECT_TRUE(capture.shown.empty());
    expect_stored(&StoredSetting::first_run);

    // A run ended by an error still saves the settings; a failed start (a module without the
    // button bitmaps) saves none. Both show the last resort box.
    std::ofstream(default_pad(), std::ios::binary) << "not a pad";
    for (auto [module, saved] : {std::pair{instance, true}, {GetModuleHandleA("kernel32.dll"), false}}) {
        RegDeleteTreeA(HKEY_CURRENT_USER, settings_key);
        capture.shown.clear();
        EXPECT_EQ(runApplication(module, "", SW_SHOWNORMAL), 0);
        ASSERT_EQ(capture.shown.size(), 1u);
        EXPECT_EQ(capture.shown[0].title, "An error has occurred");
        EXPECT_EQ(read_text(settings_key_path, "Font Name"), saved ? "MS Sans Serif" : "<missing>");
    }
    EXPECT_EQ(capture.shown[0].text.rfind("An unexpected error: application.cpp::", 0), 0u) << capture.shown[0].text;
}

// Read at the start and written back at the end under the same names, every one of them; a
// working copy started without arguments reopens the pads of the stored restart command.
TEST_F(ApplicationTest, SettingsComeBackAsStored) {
    {
        const RegistryKey key = open_key(settings_key_path, true);
        for (const StoredSetting& setting : stored_settings) {
            if (setting.type == REG_DWORD)
                write_dword(key.get(), setting.name, std::stoi(setting.changed));
            else
                write_string(key.get(), setting.name, setting.changed);
        }
    }
    Application app(instance);
    EXPECT_EQ(app.startArguments(""), std::vector<std::string>{"C:\\A~1.NIB"});
    EXPECT_EQ(app.startArguments("x.nib /f word"), (std::vector<std::string>{"x.nib", "/f", "word"}));
    RegDeleteTreeA(HKEY_CURRENT_USER, settings_key);
    app.saveSettings();
    expect_stored(&StoredSetting::changed);
}
