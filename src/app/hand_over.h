#pragma once
// A later start hands its requests to the working copy's window with WM_COPYDATA.
#include <windows.h>

#include <cstdint>
#include <optional>
#include <string>

// A main window of the working copy that is complete and takes requests, or null when none runs.
HWND find_working_copy(const std::string& className);

// Sends one request to `window` and returns its answer; nothing when the window went before it
// answered. The request is sent once, from a worker thread, so that a busy working copy (a
// question open in it) is waited for without hanging: after each while without an answer the
// user may wait longer or give up the start (start_given_up).
std::optional<LRESULT> hand_over(HWND window, std::uintptr_t code, const std::string& text);
