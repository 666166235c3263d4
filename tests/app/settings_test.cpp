#include "message_capture.h"
#include "registry_probe.h"

#include "app/application.h"
#include "harness/registry_guard.h"
#include "support/reg.h"

#include <gtest/gtest.h>

namespace {

const char* const settings_key = "Software\\Velmoran\\Scrivel";

// Every test starts without the settings key; the prefix's own settings come back afterwards.
class Settings : public ::testing::Test {
protected:
    void SetUp() override { RegDeleteTreeA(HKEY_CURRENT_USER, settings_key); }
    harness::RegistryKeyGuard guard{HKEY_CURRENT_USER, settings_key};
    HINSTANCE instance = GetModuleHandleA(nullptr);
};

std::string text_setting(const char* name) {
    std::string value = "<missing>";
    read_string(open_key(settings_key_path, false).get(), name, value);
    return value;
}

std::int32_t number_setting(const char* name) {
    std::int32_t value = -1;
    read_dword(open_key(settings_key_path, false).get(), name, value);
    return value;
}

}  // namespace

TEST_F(Settings, FirstRunEndsAtOnceAndStoresTheDefaults) {
    MessageCapture capture;
    EXPECT_EQ(runApplication(instance, "", SW_SHOWNORMAL), 0);
    EXPECT_TRUE(capture.shown.empty());
    EXPECT_EQ(theApplication, nullptr);
    EXPECT_EQ(value_names(HKEY_CURRENT_USER, settings_key).size(), 18u);
    EXPECT_EQ(text_setting("Match Font Name"), "MS Sans Serif");
    EXPECT_EQ(number_setting("Font Size"), 11);
    EXPECT_EQ(number_setting("Default Win Height"), 450);
    EXPECT_EQ(number_setting("Autosave"), 1);
    EXPECT_EQ(text_setting("Default Save Copy Dir"), "");
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
        app.restartCommand = "\"C:\\A~1.NIB\" ";
        for (int slot = 0; slot < directory_slot_count; ++slot) app.defaultDirectories[slot] = std::to_string(slot);
        app.saveSettings();
    }
    Application app(instance);
    EXPECT_EQ(app.fontName, "Courier New");
    EXPECT_EQ(app.fontSize, 14);
    EXPECT_EQ(app.defaultWinWidth, 640);
    EXPECT_EQ(app.defaultWinHeight, -480);
    EXPECT_EQ(app.windowMargin, 3);
    EXPECT_EQ(app.fieldSpacing, 4);
    EXPECT_EQ(app.changeRegistry, 0);
    EXPECT_EQ(app.matchFontName, "Arial");
    EXPECT_EQ(app.matchFontSize, 9);
    EXPECT_EQ(app.autosave, 0);
    EXPECT_EQ(app.restartCommand, "\"C:\\A~1.NIB\" ");
    for (int slot = 0; slot < directory_slot_count; ++slot) EXPECT_EQ(app.defaultDirectories[slot], std::to_string(slot));
    EXPECT_EQ(text_setting("Default Import Dir"), "2");
    EXPECT_EQ(text_setting("Default Export Dir"), "3");
}

TEST_F(Settings, WrongTypedValuesAreIgnored) {
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
}
