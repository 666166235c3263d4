#include "ui/window.h"

#include "harness/dialog_answerer.h"
#include "harness/input.h"
#include "harness/process.h"
#include "harness/window_test.h"
#include "support/messages.h"
#include "support/util.h"

#include <gtest/gtest.h>

#include <cstdint>
#include <new>
#include <stdexcept>

namespace {

using namespace std::chrono_literals;

// What happened to the test windows' objects.
struct Tally {
    int destroyed = 0;
    int freed = 0;
} tally;

constexpr const char* test_class = "ScrivelTestWindow";
constexpr UINT alive_message = WM_USER + 51;  // answered 1: the window still works

enum class Failure { none, refuse_create, throw_in_create, after_create };

class TestWindow : public Window {
public:
    explicit TestWindow(Failure failure = Failure::none) : Window(nullptr), failure(failure) {
        registerClass(test_class, COLOR_WINDOW);
        try {
            createWindow(0, test_class, "test", WS_OVERLAPPEDWINDOW, 10, 10, 200, 100, nullptr);
            if (failure == Failure::after_create) throw msg_exception("late failure", "test", style_warning);
        } catch (...) {
            abandonWindow();
            throw;
        }
    }
    ~TestWindow() override { ++tally.destroyed; }
    static void operator delete(void* memory) {
        ++tally.freed;
        ::operator delete(memory);
    }

    LRESULT handleMessage(UINT message, WPARAM wParam, LPARAM lParam) override {
        if (message == alive_message) return 1;
        if (message == WM_CREATE && failure == Failure::refuse_create) return -1;
        if (message == WM_CREATE && failure == Failure::throw_in_create)
            throw msg_exception("creation failure", "creation", style_warning);
        if (message == failOn && fail) std::exchange(fail, nullptr)();
        return Window::handleMessage(message, wParam, lParam);
    }

    Failure failure;
    UINT failOn = 0;  // the message whose handling calls `fail`, once
    std::function<void()> fail;
};

class WindowFramework : public harness::WindowTest {
protected:
    void SetUp() override { tally = {}; }
    void TearDown() override {
        harness::WindowTest::TearDown();
        EXPECT_TRUE(windowMap.empty()) << windowMap.size() << " entries left in the window map";
    }
};

// An unfinished object runs only its base destructors; its memory is freed by the new-expression.
TEST_F(WindowFramework, ConstructorFailingWithItsWindowThrowsItsOwnErrorAndFreesTheObjectOnce) {
    const struct {
        Failure failure;
        const char* title;
    } cases[] = {{Failure::after_create, "test"}, {Failure::refuse_create, "Unexpected error"},
                 {Failure::throw_in_create, "creation"}};
    for (const auto& c : cases) {
        tally = {};
        harness::DialogAnswerer answerer(100ms);
        try {
            new TestWindow(c.failure);
            ADD_FAILURE() << "the constructor did not throw";
        } catch (const msg_exception& e) {
            EXPECT_EQ(e.title, c.title);
        }
        EXPECT_EQ(tally.destroyed, 0);
        EXPECT_EQ(tally.freed, 1);
        EXPECT_EQ(FindWindowA(test_class, nullptr), nullptr) << "the half-made window is still there";
        harness::pump_for(200ms);
        EXPECT_TRUE(answerer.seen().empty()) << "the creator shows the error, not the framework";
    }
}

// An error that leaves a handler shows its one box as the message loop would show it, and the
// window goes on working; a failed paint is not asked for again, and another process that sent
// the message need not wait for the box.
TEST_F(WindowFramework, ErrorsLeavingAHandlerAreReportedOnceAndTheProgramGoesOn) {
    constexpr UINT failing = WM_USER + 50;
    static int outOfMemory = 0;
    Window::setOutOfMemoryReporter([] { ++outOfMemory; });
    auto broke = [] { throw msg_exception("It broke.", "Broken", style_warning); };
    const struct {
        const char* name;
        std::function<void()> fail;
        const char *boxTitle, *boxText;  // null: no box
        int outOfMemory = 0;
        UINT failOn = failing;
        std::function<void(HWND)> deliver;  // null: sent
    } cases[] = {
        {"sent message", broke, "Broken", "It broke."},
        {"silent", [] { throw silent_exception(); }, nullptr, nullptr},
        {"memory", [] { throw std::bad_alloc(); }, nullptr, nullptr, 1},
        {"other", [] { throw std::runtime_error("odd"); }, "Unexpected error", "An unexpected error: odd"},
        {"paint", broke, "Broken", "It broke.", 0, WM_PAINT,
         [](HWND window) {
             ShowWindow(window, SW_SHOWNOACTIVATE);
             InvalidateRect(window, nullptr, TRUE);
             UpdateWindow(window);
             EXPECT_FALSE(GetUpdateRect(window, nullptr, FALSE)) << "a failed paint is asked for again";
         }},
        {"other process", broke, "Broken", "It broke.", 0, WM_COPYDATA,
         [](HWND window) {
             const std::string sender = directory_of(program_path()) + "copy_data_sender.exe";
             harness::Process process("\"" + sender + "\" " + std::to_string(reinterpret_cast<std::uintptr_t>(window)));
             EXPECT_EQ(process.wait(20s), DWORD{0});
         }},
    };
    for (const auto& c : cases) {
        outOfMemory = 0;
        auto* window = new TestWindow;
        harness::DialogAnswerer answerer(300ms);
        if (c.boxTitle) answerer.press(c.boxTitle, IDOK);
        window->failOn = c.failOn;
        window->fail = c.fail;
        if (c.deliver)
            c.deliver(window->hwnd);
        else
            SendMessageA(window->hwnd, failing, 0, 0);
        harness::pump_for(100ms);
        ASSERT_EQ(answerer.seen().size(), c.boxText ? 1u : 0u) << c.name;
        if (c.boxText) {
            EXPECT_EQ(answerer.seen()[0].text, c.boxText) << c.name;
        }
        EXPECT_EQ(answerer.unexpected(), 0) << c.name;
        EXPECT_EQ(outOfMemory, c.outOfMemory) << c.name;
        ASSERT_EQ(Window::fromHandle(window->hwnd), window) << c.name;
        EXPECT_EQ(SendMessageA(window->hwnd, alive_message, 0, 0), 1) << c.name;
        DestroyWindow(window->hwnd);
    }
    Window::setOutOfMemoryReporter(nullptr);
}

}  // namespace
