#include "registry_probe.h"

#include "harness/registry_guard.h"

#include "app/application.h"
#include "support/reg.h"

#include <gtest/gtest.h>

#include <algorithm>

namespace {

const char* const settings_key = "Software\\Velmoran\\Scrivel";

// Every test starts without the settings key and leaves the prefix's own settings as they were.
class Settings : public ::testing::Test {
protected:
    void SetUp() override { RegDeleteTreeA(HKEY_CURRENT_USER, settings_key); }
    harness::RegistryKeyGuard guard{HKEY_CURRENT_USER, settings_key};
    HINSTANCE instance = GetModuleHandleA(nullptr);
};

}  // namespace

TEST_F(Settings, FirstStartRunsWithTheDefaults) {
    Application app(instance);
    EXPECT_EQ(theApplication, &app);
    EXPECT_EQ(app.instance, instance);
    EXPECT_EQ(app.productName, "Scrivel");
    EXPECT_EQ(app.separator, "\n\n------------------------------\n\n");
    EXPECT_EQ(app.separator.size(), 34u);
    EXPECT_EQ(app.fileVersion, 1000);
    EXPECT_EQ(app.fontName, "MS Sans Serif");
    EXPECT_EQ(app.fontSize, 11);
    EXPECT_EQ(app.defaultWinHeight, 450);
    EXPECT_EQ(app.defaultWinWidth, 400);
    EXPECT_EQ(app.windowMargin, 7);
    EXPECT_EQ(app.fieldSpacing, 7);
    EXPECT_EQ(app.changeRegistry, 1);
    EXPECT_EQ(app.matchFontName, "MS Sans Serif");
    EXPECT_EQ(app.matchFontSize, 11);
    EXPECT_EQ(app.autosave, 1);
    for (const std::string& directory : app.defaultDirectories) EXPECT_EQ(directory, "");
    EXPECT_EQ(app.restartCommand, "");
    EXPECT_TRUE(app.windows.empty());
    EXPECT_EQ(app.otherInstance, nullptr);
    EXPECT_EQ(app.settingsRemoved, 0);
    EXPECT_FALSE(key_exists(HKEY_CURRENT_USER, settings_key)) << "loading creates nothing";
}

TEST_F(Settings, SaveWritesAllEighteenValuesWithTheirTypes) {
    Application app(instance);
    app.saveSettings();
    std::vector<std::string> names = value_names(HKEY_CURRENT_USER, settings_key);
    std::vector<std::string> expected = {
        "Font Name",        "Font Size",        "Default Win Width",  "Default Win Height", "Window Margin",
        "Field Spacing",    "Change Registry",  "Match Font Name",    "Match Font Size",    "Autosave",
        "Restart Command",  "Default Open Dir", "Default Save Dir",   "Default Export Dir", "Default Import Dir",
        "Default Insert Dir", "Default Sync Dir", "Default Save Copy Dir"};
    std::sort(names.begin(), names.end());
    std::sort(expected.begin(), expected.end());
    EXPECT_EQ(names, expected);

    RegistryKey key = open_key(settings_key_path, false);
    EXPECT_TRUE(query_value(key.get(), "Font Size", REG_DWORD));
    EXPECT_TRUE(query_value(key.get(), "Autosave", REG_DWORD));
    EXPECT_TRUE(query_value(key.get(), "Font Name", REG_SZ));
    EXPECT_TRUE(query_value(key.get(), "Default Save Copy Dir", REG_SZ));
}

TEST_F(Settings, EveryFieldRoundTrips) {
    {
        Application app(instance);
        app.fontName = "Courier New";
        app.fontSize = 14;
        app.defaultWinWidth = 640;
        app.defaultWinHeight = -480;
        app.windowMargin = 3;
        app.fieldSpacing = 4;
        app.changeRegistry = 0;
        app.matchFontName = "Arial";
        app.matchFontSize = 9;
        app.autosave = 0;
        app.restartCommand = "\"C:\\A~1.NIB\" \"C:\\B.NIB\" ";
        for (int slot = 0; slot < directory_slot_count; ++slot)
            app.defaultDirectories[slot] = "C:\\dir" + std::to_string(slot) + "\\";
        app.saveSettings();
    }
    Application app(instance);
    EXPECT_EQ(app.fontName, "Courier New");
    EXPECT_EQ(app.fontSize, 14);
    EXPECT_EQ(app.defaultWinWidth, 640);
    EXPECT_EQ(app.defaultWinHeight, -480) << "numbers are used as stored";
    EXPECT_EQ(app.windowMargin, 3);
    EXPECT_EQ(app.fieldSpacing, 4);
    EXPECT_EQ(app.changeRegistry, 0);
    EXPECT_EQ(app.matchFontName, "Arial");
    EXPECT_EQ(app.matchFontSize, 9);
    EXPECT_EQ(app.autosave, 0);
    EXPECT_EQ(app.restartCommand, "\"C:\\A~1.NIB\" \"C:\\B.NIB\" ");
    for (int slot = 0; slot < directory_slot_count; ++slot)
        EXPECT_EQ(app.defaultDirectories[slot], "C:\\dir" + std::to_string(slot) + "\\");
    // The directories go under their own names: import is slot 2, export slot 3.
    RegistryKey key = open_key(settings_key_path, false);
    std::string value;
    read_string(key.get(), "Default Import Dir", value);
    EXPECT_EQ(value, "C:\\dir2\\");
    read_string(key.get(), "Default Export Dir", value);
    EXPECT_EQ(value, "C:\\dir3\\");
}

TEST_F(Settings, WrongTypedAndMissingValuesAreIgnored) {
    {
        RegistryKey key = open_key(settings_key_path, true);
        write_string(key.get(), "Font Size", "20");
        write_dword(key.get(), "Font Name", 5);
        write_dword(key.get(), "Window Margin", 12);
    }
    Application app(instance);
    EXPECT_EQ(app.fontSize, 11);
    EXPECT_EQ(app.fontName, "MS Sans Serif");
    EXPECT_EQ(app.windowMargin, 12);
    EXPECT_EQ(app.fieldSpacing, 7);
}
