#pragma once
// Message pumping for window tests: the code under test runs on the test's thread and only makes
// progress while that thread dispatches its messages.
#include <chrono>
#include <functional>

namespace harness {

using namespace std::chrono_literals;

// Dispatches this thread's messages until `done` is true or `timeout` has passed; returns `done()`.
bool pump_until(const std::function<bool()>& done, std::chrono::milliseconds timeout = 5s);

// Dispatches this thread's messages for the given time.
void pump_for(std::chrono::milliseconds time);

}  // namespace harness
