#include "app/low_memory.h"

#include "support/messages.h"
#include "support/texts.h"
#include "ui/window.h"

#include <cstdlib>
#include <new>
#include <utility>
#if defined(_WIN32)
#include "app/crt_new_hooks.h"
#endif

namespace {
constexpr std::size_t reserve_size = 20000;
}  // namespace

void* firstReserve = std::malloc(reserve_size);
void* secondReserve = std::malloc(reserve_size);

namespace {
msg_exception cancelled() { return msg_exception(texts.out_of_memory, texts.error, style_warning); }
}  // namespace

void lowMemoryHandler() {
    if (firstReserve) {
        std::free(std::exchange(firstReserve, nullptr));
        show_message(nullptr, texts.memory_low, texts.low_memory, style_warning);
        return;
    }
    std::free(std::exchange(secondReserve, nullptr));
    throw cancelled();
}

void reportOutOfMemory() {
    std::free(std::exchange(secondReserve, nullptr));
    cancelled().show(nullptr);
}

#if defined(_WIN32)
namespace {
// The runtime's own hook for a failing malloc: non-zero asks it to try again.
int __cdecl mallocFailed(std::size_t) {
    lowMemoryHandler();
    return 1;
}
}  // namespace
#endif

void installLowMemoryHandler() {
    std::set_new_handler(lowMemoryHandler);
    Window::setOutOfMemoryReporter(reportOutOfMemory);
#if defined(_WIN32)
    _set_new_handler(mallocFailed);
    _set_new_mode(1);
#endif
}
