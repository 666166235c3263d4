#include "message_capture.h"
#include "registry_probe.h"

#include "app/application.h"
#include "harness/registry_guard.h"

#include <gtest/gtest.h>

#include <stdexcept>

namespace {

const char* const settings_key = "Software\\Velmoran\\Scrivel";

class ApplicationTest : public ::testing::Test {
protected:
    void SetUp() override { RegDeleteTreeA(HKEY_CURRENT_USER, settings_key); }
    harness::RegistryKeyGuard guard{HKEY_CURRENT_USER, settings_key};
    HINSTANCE instance = GetModuleHandleA(nullptr);
};

enum TestMessage : UINT { throw_message = WM_APP + 1, throw_silent, throw_other, close_last_window, count_message };
int counted = 0;

LRESULT CALLBACK test_procedure(HWND window, UINT message, WPARAM w, LPARAM l) {
    switch (message) {
    case throw_message:
        throw msg_exception("Something failed", "Error", 48);
    case throw_silent:
        throw silent_exception();
    case throw_other:
        throw std::runtime_error("not a message");
    case close_last_window:
        theApplication->windows.clear();
        return 0;
    case count_message:
        ++counted;
        return 0;
    }
    return DefWindowProcA(window, message, w, l);
}

// A top-level window of a class of its own: "Scrivel" stands for a running copy's main window.
class TestWindow {
public:
    explicit TestWindow(const char* class_name) : class_name_(class_name) {
        WNDCLASSA window_class{};
        window_class.lpfnWndProc = test_procedure;
        window_class.hInstance = GetModuleHandleA(nullptr);
        window_class.lpszClassName = class_name;
        RegisterClassA(&window_class);
        handle = CreateWindowExA(0, class_name, "", WS_OVERLAPPED, 0, 0, 10, 10, nullptr, nullptr,
                                 window_class.hInstance, nullptr);
    }
    ~TestWindow() {
        DestroyWindow(handle);
        UnregisterClassA(class_name_, GetModuleHandleA(nullptr));
        MSG message;
        while (PeekMessageA(&message, nullptr, 0, 0, PM_REMOVE)) {}
    }
    HWND handle;

private:
    const char* class_name_;
};

// Stands in for an open main window: the loop only asks whether the list is empty.
MainWindow* some_window() {
    static int placeholder;
    return reinterpret_cast<MainWindow*>(&placeholder);
}

}  // namespace

TEST_F(ApplicationTest, WorkingCopyMakesTheSharedFontsAndBitmaps) {
    Application app(instance);
    ASSERT_EQ(app.otherInstance, nullptr);
    for (int number = 1; number <= 8; ++number) {
        BITMAP info{};
        ASSERT_TRUE(GetObjectA(app.bitmaps[number], sizeof info, &info)) << number;
        EXPECT_EQ(info.bmWidth, 16);
    }
    app.deleteGraphics();
    EXPECT_EQ(app.boldFont, nullptr);
    EXPECT_EQ(app.bitmaps[8], nullptr);
    app.matchFontName = "Arial";
    app.matchFontSize = 20;
    app.createGraphics();
    LOGFONTA bold{}, normal{};
    ASSERT_TRUE(GetObjectA(app.boldFont, sizeof bold, &bold));
    ASSERT_TRUE(GetObjectA(app.normalFont, sizeof normal, &normal));
    EXPECT_EQ(bold.lfWeight, 700);
    EXPECT_EQ(normal.lfWeight, 400);
    EXPECT_EQ(bold.lfHeight, -20);
    EXPECT_STREQ(normal.lfFaceName, "Arial");
}

TEST_F(ApplicationTest, SecondCopyFindsTheRunningOneAndKeepsNothing) {
    TestWindow running("Scrivel");
    Application app(instance);
    EXPECT_EQ(app.otherInstance, running.handle);
    EXPECT_EQ(app.boldFont, nullptr);
    EXPECT_EQ(app.bitmaps[1], nullptr);
    EXPECT_EQ(app.accelerators, nullptr);
    app.restartCommand = "\"C:\\A.NIB\" ";
    EXPECT_TRUE(app.startArguments("").empty());
    EXPECT_EQ(app.run("", SW_SHOWNORMAL), 0);
    app.shutdown();
    EXPECT_FALSE(key_exists(HKEY_CURRENT_USER, settings_key));
}

TEST_F(ApplicationTest, StartWithoutArgumentsUsesTheRestartCommand) {
    Application app(instance);
    app.restartCommand = "\"C:\\PADS\\A.NIB\" \"C:\\B.NIB\" ";
    EXPECT_EQ(app.startArguments(""), (std::vector<std::string>{"C:\\PADS\\A.NIB", "C:\\B.NIB"}));
    EXPECT_EQ(app.startArguments("x.nib /f word"), (std::vector<std::string>{"x.nib", "/f", "word"}));
}

TEST_F(ApplicationTest, LoopShowsMessagesAndGoesOnUntilTheLastWindowIsGone) {
    Application app(instance);
    TestWindow window("ScrivelLoopTest");
    MessageCapture capture;
    app.windows.push_back(some_window());
    counted = 0;
    for (UINT message : {throw_message, throw_silent, count_message, close_last_window})
        PostMessageA(window.handle, message, 0, 0);
    EXPECT_EQ(app.messageLoop(), 0);
    EXPECT_EQ(counted, 1) << "the loop went on after both exceptions";
    ASSERT_EQ(capture.shown.size(), 1u) << "a silent exception shows nothing";
    EXPECT_EQ(capture.shown[0].text, "Something failed");
    EXPECT_EQ(capture.shown[0].title, "Error");

    // Other exceptions leave the loop.
    app.windows.push_back(some_window());
    PostMessageA(window.handle, throw_other, 0, 0);
    EXPECT_THROW(app.messageLoop(), std::runtime_error);
}

TEST_F(ApplicationTest, FailedStartIsShownInTheLastResortBox) {
    MessageCapture capture;
    // A module without the button bitmaps: the start fails while the graphics are made.
    EXPECT_EQ(runApplication(GetModuleHandleA("kernel32.dll"), "", SW_SHOWNORMAL), 0);
    ASSERT_EQ(capture.shown.size(), 1u);
    EXPECT_EQ(capture.shown[0].title, "An error has occurred");
    EXPECT_EQ(capture.shown[0].style, 48u);
    EXPECT_EQ(capture.shown[0].text.rfind("An unexpected error: application.cpp::", 0), 0u) << capture.shown[0].text;
    EXPECT_EQ(theApplication, nullptr);
    EXPECT_FALSE(key_exists(HKEY_CURRENT_USER, settings_key)) << "a failed start saves nothing";
}
