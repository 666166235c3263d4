#include "storage/file_faults.h"

#include "support/platform.h"

#include <algorithm>

namespace file_faults {

namespace {

Plan armed;
int counted = 0;

}  // namespace

void arm(const Plan& plan) {
    armed = plan;
    counted = 0;
}

int operations() { return counted; }

bool operation_fails() {
    if (++counted != armed.failing_operation) return false;
    platform::set_file_error(armed.error);
    return true;
}

std::size_t writable(std::size_t size) {
    if (operation_fails()) return 0;
    const std::size_t taken = static_cast<std::size_t>(std::min<std::uint64_t>(size, armed.free_space));
    if (armed.free_space != std::numeric_limits<std::uint64_t>::max()) armed.free_space -= taken;
    if (taken < size) platform::set_file_error(platform::FileError::disk_full);
    return taken;
}

}  // namespace file_faults
