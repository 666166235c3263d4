// Linked into every test program: each test prints its name as it starts, so that a program
// ended by its time limit shows which test hung.
#include <gtest/gtest.h>

#include <cstdio>

namespace {

class TestNames : public ::testing::EmptyTestEventListener {
    void OnTestStart(const ::testing::TestInfo& test) override {
        std::printf("[ START    ] %s.%s\n", test.test_suite_name(), test.name());
        std::fflush(stdout);
    }
};

const bool registered = [] {
    ::testing::UnitTest::GetInstance()->listeners().Append(new TestNames);
    return true;
}();

}  // namespace
