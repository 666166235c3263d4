#include "app_test_support.h"

#include "app/crt_new_hooks.h"
#include "app/low_memory.h"
#include "support/texts.h"
#include "ui/window.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <exception>
#include <functional>
#include <new>

namespace {

// Beyond any heap, so that the allocation fails at once; kept volatile so it is not elided.
volatile std::size_t huge_size = ~std::size_t(0) - 4096;
void* volatile kept = nullptr;

void expect_cancelled(const std::function<void()>& allocate) {
    try {
        allocate();
        ADD_FAILURE() << "no exception";
    } catch (const msg_exception& e) {
        EXPECT_EQ(e.text, texts.out_of_memory);
        EXPECT_EQ(e.title, "Error");
    }
}

}  // namespace

TEST(LowMemory, FirstExhaustionWarnsLaterOnesCancel) {
    if (!firstReserve) firstReserve = std::malloc(20000);
    if (!secondReserve) secondReserve = std::malloc(20000);
    MessageCapture capture;
    installLowMemoryHandler();
    expect_cancelled([] { kept = new char[huge_size]; });
    EXPECT_EQ(firstReserve, nullptr);
    EXPECT_EQ(secondReserve, nullptr);
    ASSERT_EQ(capture.shown.size(), 1u) << "one warning, then the retry fails";
    EXPECT_EQ(capture.shown[0].text, texts.memory_low);
    EXPECT_EQ(capture.shown[0].title, "Low memory");
    expect_cancelled([] { kept = std::malloc(huge_size); });
    EXPECT_EQ(capture.shown.size(), 1u);
    kept = std::malloc(100);
    EXPECT_NE(kept, nullptr) << "ordinary allocations still work";
    std::free(kept);

    // Memory running out inside a window gives back the reserve and cancels too.
    secondReserve = std::malloc(20000);
    Window::reportError(std::make_exception_ptr(std::bad_alloc()));
    EXPECT_EQ(secondReserve, nullptr);
    ASSERT_EQ(capture.shown.size(), 2u);
    EXPECT_EQ(capture.shown[1].text, texts.out_of_memory);

    // The other tests run with the runtime's own behaviour.
    std::set_new_handler(nullptr);
    _set_new_handler(nullptr);
    _set_new_mode(0);
    Window::setOutOfMemoryReporter(nullptr);
}
