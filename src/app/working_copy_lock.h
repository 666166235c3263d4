#pragma once
// One start at a time decides whether it is the working copy. The check for a running copy and
// the making of the working copy's first windows happen under a mutex of the user's session, so
// that pads opened all at once (one process each) end up in one working copy.
#include "support/messages.h"

#include <windows.h>

class WorkingCopyLock {
public:
    // Waits for the mutex, never for good: after each while without it the user may wait longer
    // or give up the start (start_given_up). A mutex whose holder ended without releasing it
    // is taken over.
    WorkingCopyLock();
    ~WorkingCopyLock();
    WorkingCopyLock(const WorkingCopyLock&) = delete;
    WorkingCopyLock& operator=(const WorkingCopyLock&) = delete;

    void release() noexcept;

private:
    HANDLE mutex = nullptr;
    bool owned = false;
};

// The user gave up a start whose running copy does not answer: the rest of its command line is
// dropped with it, and nothing is shown.
class start_given_up : public silent_exception {};

// Tells the user that the running copy does not answer: true to wait longer (Retry), false to
// give up (Cancel).
bool keepWaiting();

// How long a start waits for the running copy before it asks.
inline constexpr DWORD answerPatience = 15000;
