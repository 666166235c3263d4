#pragma once
// Base fixture of the window tests: every test must close what it opened; whatever is still open
// at its end is destroyed there, so that one failure does not spill into the next test.
#include <windows.h>

#include <gtest/gtest.h>

#include <vector>

namespace harness {

// The visible top-level windows of a thread (the calling one by default).
std::vector<HWND> thread_windows(DWORD thread = GetCurrentThreadId());

class WindowTest : public ::testing::Test {
protected:
    void TearDown() override;
};

}  // namespace harness
