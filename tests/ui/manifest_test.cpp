// The program's manifest, which every test program carries with the resources, is in force.
#include <windows.h>

#include <gtest/gtest.h>

#include <algorithm>
#include <string>

TEST(Manifest, BringsCommonControlsSixAndSystemDpiAwareness) {
    HMODULE controls = LoadLibraryA("comctl32.dll");
    ASSERT_TRUE(controls);
    char path[MAX_PATH] = {};
    GetModuleFileNameA(controls, path, MAX_PATH);
    FreeLibrary(controls);
    // The version 6 assembly lives in the side-by-side store. (Wine's copy there still reports 5.81
    // through DllGetVersion, so the version number proves nothing.)
    std::string loaded = path;
    std::transform(loaded.begin(), loaded.end(), loaded.begin(), [](unsigned char c) { return std::tolower(c); });
    EXPECT_NE(loaded.find("microsoft.windows.common-controls_6595b64144ccf1df_6."), std::string::npos) << path;
    EXPECT_TRUE(IsProcessDPIAware());
}
