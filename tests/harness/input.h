#pragma once
// Real input for window tests: synthesised with SendInput, so it travels through the system's
// input queue, hit testing and focus like the user's own.
#include <windows.h>

namespace harness {

enum class MouseButton { left, right, middle };

// Makes a top-level window the foreground window and waits (pumping) until it is; returns whether
// it became the foreground window.
bool bring_to_front(HWND window);

// Moves the pointer to a point of the window's client area and clicks the button there.
void click(HWND window, POINT client_point, MouseButton button = MouseButton::left);

// Presses and releases a key, with Ctrl held when `ctrl` is set.
void press_key(WORD virtual_key, bool ctrl = false);

}  // namespace harness
