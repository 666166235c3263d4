#include "app/working_copy_lock.h"

#include "support/texts.h"

#include <string>

namespace {

// Local\ keeps it to the session; the user's name keeps another account's copies apart where a
// session is shared (Run as).
std::string mutexName() {
    char user[257] = {};
    DWORD size = sizeof user;
    if (!GetUserNameA(user, &size)) user[0] = '\0';
    return std::string("Local\\Scrivel.WorkingCopy.") + user;
}

}  // namespace

WorkingCopyLock::WorkingCopyLock() {
    mutex = CHECK_CALL(CreateMutexA(nullptr, FALSE, mutexName().c_str()));
    for (;;) {
        const DWORD waited = WaitForSingleObject(mutex, answerPatience);
        if (waited == WAIT_OBJECT_0 || waited == WAIT_ABANDONED) break;
        if (waited == WAIT_TIMEOUT && keepWaiting()) continue;
        CloseHandle(mutex);
        if (waited == WAIT_TIMEOUT) throw start_given_up();
        CHECK_CALL(false);
    }
    owned = true;
}

WorkingCopyLock::~WorkingCopyLock() {
    release();
    CloseHandle(mutex);
}

void WorkingCopyLock::release() noexcept {
    if (owned) ReleaseMutex(mutex);
    owned = false;
}

bool keepWaiting() {
    return MessageBoxA(nullptr, texts.not_answering, texts.not_answering_title,
                       MB_RETRYCANCEL | MB_ICONEXCLAMATION | MB_SETFOREGROUND) == IDRETRY;
}
