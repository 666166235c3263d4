#pragma once
// Driving the code under test from the test's thread: that code only makes progress while the
// thread dispatches its messages.
#include <windows.h>

#include <chrono>
#include <functional>

namespace harness {

using namespace std::chrono_literals;

// Dispatches this thread's messages until `done` is true or `timeout` has passed; returns `done()`.
// A quit message stays for the test.
bool pump_until(const std::function<bool()>& done, std::chrono::milliseconds timeout = 5s);

// Dispatches this thread's messages for the given time.
void pump_for(std::chrono::milliseconds time);

// Makes a top-level window the foreground window and waits (pumping) until it is; returns whether
// it became the foreground window.
bool bring_to_front(HWND window);

}  // namespace harness
