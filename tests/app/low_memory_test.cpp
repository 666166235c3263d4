#include "message_capture.h"

#include "app/low_memory.h"
#include "support/texts.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <new>
#include "app/crt_new_hooks.h"

namespace {

// Far more than any heap can give, so that every allocation of it fails at once.
volatile std::size_t huge_size = ~std::size_t(0) - 4096;
// Keeps the compiler from eliding an allocation that is freed at once.
void* volatile kept = nullptr;

class LowMemory : public ::testing::Test {
protected:
    void SetUp() override {
        if (!firstReserve) firstReserve = std::malloc(20000);
        if (!secondReserve) secondReserve = std::malloc(20000);
    }
    void TearDown() override {
        std::set_new_handler(nullptr);
        _set_new_handler(nullptr);
        _set_new_mode(0);
    }
    MessageCapture capture;
};

void expect_out_of_memory(const std::function<void()>& allocate) {
    try {
        allocate();
        ADD_FAILURE() << "no exception";
    } catch (const msg_exception& e) {
        EXPECT_EQ(e.text, texts.out_of_memory);
        EXPECT_EQ(e.title, "Error");
        EXPECT_EQ(e.style, 48u);
    }
}

}  // namespace

TEST_F(LowMemory, FirstWarnsThenCancelsEveryTime) {
    ASSERT_TRUE(firstReserve && secondReserve);
    lowMemoryHandler();
    EXPECT_EQ(firstReserve, nullptr);
    EXPECT_NE(secondReserve, nullptr);
    ASSERT_EQ(capture.shown.size(), 1u);
    EXPECT_EQ(capture.shown[0].title, "Low memory");
    EXPECT_EQ(capture.shown[0].text, texts.memory_low);
    EXPECT_EQ(capture.shown[0].style, 48u);

    expect_out_of_memory(lowMemoryHandler);
    EXPECT_EQ(secondReserve, nullptr);
    expect_out_of_memory(lowMemoryHandler);
    EXPECT_EQ(capture.shown.size(), 1u);
}

TEST_F(LowMemory, FailingNewAndMallocReachTheHandler) {
    installLowMemoryHandler();
    expect_out_of_memory([] { kept = new char[huge_size]; });
    ASSERT_EQ(capture.shown.size(), 1u) << "the first exhaustion warns once";
    EXPECT_EQ(capture.shown[0].title, "Low memory");
    expect_out_of_memory([] { kept = std::malloc(huge_size); });
    EXPECT_EQ(capture.shown.size(), 1u);
    // Ordinary allocations still work.
    std::free(std::malloc(100));
}
