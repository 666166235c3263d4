#include "message_capture.h"
#include "registry_probe.h"

#include "harness/registry_guard.h"

#include "app/application.h"
#include "support/texts.h"

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

// A window of the product's class, as a running copy would have.
class RunningCopy {
public:
    RunningCopy() {
        WNDCLASSA window_class{};
        window_class.lpfnWndProc = DefWindowProcA;
        window_class.hInstance = GetModuleHandleA(nullptr);
        window_class.lpszClassName = "Scrivel";
        RegisterClassA(&window_class);
        window = CreateWindowExA(0, "Scrivel", "", WS_OVERLAPPED, 0, 0, 10, 10, nullptr, nullptr,
                                 window_class.hInstance, nullptr);
    }
    ~RunningCopy() {
        DestroyWindow(window);
        UnregisterClassA("Scrivel", GetModuleHandleA(nullptr));
    }
    HWND window;
};

}  // namespace

TEST_F(ApplicationTest, WorkingCopyMakesTheSharedFontsAndBitmaps) {
    Application app(instance);
    ASSERT_EQ(app.otherInstance, nullptr);
    EXPECT_EQ(app.bitmaps[0], nullptr);
    for (int number = 1; number <= 8; ++number) {
        ASSERT_NE(app.bitmaps[number], nullptr) << number;
        BITMAP info{};
        GetObjectA(app.bitmaps[number], sizeof info, &info);
        EXPECT_EQ(info.bmWidth, 16);
        EXPECT_EQ(info.bmHeight, 16);
    }
    LOGFONTA bold{}, normal{};
    ASSERT_TRUE(GetObjectA(app.boldFont, sizeof bold, &bold));
    ASSERT_TRUE(GetObjectA(app.normalFont, sizeof normal, &normal));
    EXPECT_EQ(bold.lfWeight, 700);
    EXPECT_EQ(normal.lfWeight, 400);
    EXPECT_EQ(bold.lfHeight, -11);
    EXPECT_STREQ(normal.lfFaceName, "MS Sans Serif");

    app.deleteGraphics();
    EXPECT_EQ(app.boldFont, nullptr);
    EXPECT_EQ(app.normalFont, nullptr);
    for (HBITMAP bitmap : app.bitmaps) EXPECT_EQ(bitmap, nullptr);

    app.matchFontName = "Arial";
    app.matchFontSize = 20;
    app.createGraphics();
    ASSERT_TRUE(GetObjectA(app.boldFont, sizeof bold, &bold));
    EXPECT_EQ(bold.lfHeight, -20);
    EXPECT_STREQ(bold.lfFaceName, "Arial");
}

TEST_F(ApplicationTest, SecondCopyFindsTheRunningOneAndKeepsNothing) {
    RunningCopy running;
    ASSERT_TRUE(running.window);
    Application app(instance);
    EXPECT_EQ(app.otherInstance, running.window);
    EXPECT_EQ(app.boldFont, nullptr);
    EXPECT_EQ(app.bitmaps[1], nullptr);
    EXPECT_EQ(app.accelerators, nullptr);

    // It never uses the Restart Command and never writes the settings.
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
    app.restartCommand.clear();
    EXPECT_TRUE(app.startArguments("").empty());
}

namespace {

enum TestMessage : UINT {
    throw_message = WM_APP + 1,
    throw_silent,
    throw_other,
    close_last_window,
    count_message,
};

int counted = 0;

LRESULT CALLBACK throwing_procedure(HWND window, UINT message, WPARAM w, LPARAM l) {
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

class LoopWindow {
public:
    LoopWindow() {
        WNDCLASSA window_class{};
        window_class.lpfnWndProc = throwing_procedure;
        window_class.hInstance = GetModuleHandleA(nullptr);
        window_class.lpszClassName = "ScrivelLoopTest";
        RegisterClassA(&window_class);
        window = CreateWindowExA(0, "ScrivelLoopTest", "", WS_OVERLAPPED, 0, 0, 10, 10, nullptr, nullptr,
                                 window_class.hInstance, nullptr);
    }
    ~LoopWindow() {
        DestroyWindow(window);
        UnregisterClassA("ScrivelLoopTest", GetModuleHandleA(nullptr));
    }
    HWND window;
};

// Stands in for an open main window: the loop only looks whether the list is empty.
MainWindow* some_window() {
    static int placeholder;
    return reinterpret_cast<MainWindow*>(&placeholder);
}

}  // namespace

TEST_F(ApplicationTest, LoopShowsMessagesAndGoesOnUntilTheLastWindowIsGone) {
    Application app(instance);
    LoopWindow loop;
    ASSERT_TRUE(loop.window);
    MessageCapture capture;
    app.windows.push_back(some_window());
    counted = 0;
    PostMessageA(loop.window, throw_message, 0, 0);
    PostMessageA(loop.window, throw_silent, 0, 0);
    PostMessageA(loop.window, count_message, 0, 0);
    PostMessageA(loop.window, close_last_window, 0, 0);
    EXPECT_EQ(app.messageLoop(), 0);
    EXPECT_EQ(counted, 1) << "the loop went on after both exceptions";
    ASSERT_EQ(capture.shown.size(), 1u) << "a silent exception shows nothing";
    EXPECT_EQ(capture.shown[0].text, "Something failed");
    EXPECT_EQ(capture.shown[0].title, "Error");
    EXPECT_EQ(capture.shown[0].style, 48u);
}

TEST_F(ApplicationTest, LoopLetsOtherExceptionsThrough) {
    Application app(instance);
    LoopWindow loop;
    app.windows.push_back(some_window());
    PostMessageA(loop.window, throw_other, 0, 0);
    EXPECT_THROW(app.messageLoop(), std::runtime_error);
    // Nothing is left over for the next loop.
    MSG message;
    while (PeekMessageA(&message, nullptr, 0, 0, PM_REMOVE)) {}
}

TEST_F(ApplicationTest, LoopWithoutWindowsEndsAtOnce) {
    Application app(instance);
    LoopWindow loop;
    counted = 0;
    PostMessageA(loop.window, count_message, 0, 0);
    EXPECT_EQ(app.run("", SW_SHOWNORMAL), 0);
    EXPECT_LE(counted, 1);
    MSG message;
    while (PeekMessageA(&message, nullptr, 0, 0, PM_REMOVE)) {}
}

TEST_F(ApplicationTest, EntryRunsShutsDownAndSavesTheSettings) {
    MessageCapture capture;
    EXPECT_EQ(runApplication(instance, "", SW_SHOWNORMAL), 0);
    EXPECT_TRUE(capture.shown.empty());
    EXPECT_EQ(theApplication, nullptr);
    EXPECT_EQ(value_names(HKEY_CURRENT_USER, settings_key).size(), 18u);
}

TEST_F(ApplicationTest, EntryShowsAFailedStartInTheLastResortBox) {
    MessageCapture capture;
    // A module without the button bitmaps: the start fails while the graphics are made.
    EXPECT_EQ(runApplication(GetModuleHandleA("kernel32.dll"), "", SW_SHOWNORMAL), 0);
    ASSERT_EQ(capture.shown.size(), 1u);
    EXPECT_EQ(capture.shown[0].title, "An error has occurred");
    EXPECT_EQ(capture.shown[0].style, 48u);
    EXPECT_NE(capture.shown[0].text.find("An unexpected error: application.cpp::"), std::string::npos)
        << capture.shown[0].text;
    EXPECT_EQ(theApplication, nullptr);
    EXPECT_FALSE(key_exists(HKEY_CURRENT_USER, settings_key)) << "a failed start saves nothing";
}
