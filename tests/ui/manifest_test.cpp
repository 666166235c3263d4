// The program's manifest, which every test program carries with the resources, is in force.
#include <windows.h>

#include <gtest/gtest.h>

#include <algorithm>
#include <string>

TEST(Manifest, BringsCommonControlsSixAndPerMonitorDpiAwareness) {
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
    // Per monitor: the awareness of the thread's context (2), where the system knows it.
    auto function = [](const char* name) {
        return reinterpret_cast<void*>(GetProcAddress(GetModuleHandleA("user32"), name));
    };
    auto context = reinterpret_cast<HANDLE(WINAPI*)()>(function("GetThreadDpiAwarenessContext"));
    auto awareness = reinterpret_cast<int(WINAPI*)(HANDLE)>(function("GetAwarenessFromDpiAwarenessContext"));
    if (context && awareness) {
        EXPECT_EQ(awareness(context()), 2);
    }
}
