#pragma once
// A seam in the file layer of saving, for tests: each operation of a save that can fail on a real
// disk (creating, writing, flushing, closing, cutting or replacing a file) asks here first, so that
// a test can make each of them fail in turn, or let the disk fill up part-way. Off unless armed.
#include "support/platform.h"

#include <cstddef>
#include <cstdint>
#include <limits>

namespace file_faults {

struct Plan {
    int failing_operation = 0;  // the n-th operation from now (1: the next one) fails; 0: none
    platform::FileError error = platform::FileError::device;  // how it fails
    std::uint64_t free_space = std::numeric_limits<std::uint64_t>::max();  // bytes writes may add
};

// Counts operations afresh under `plan`; a default Plan turns the seam off.
void arm(const Plan& plan);
// The operations counted since arm.
int operations();

// For the file layer. Counts one operation; true when it must fail, the system's last error set.
bool operation_fails();
// Counts one write of `size` bytes and returns how many of them the disk takes; when fewer, the
// last error is that of a full disk or of a failed device.
std::size_t writable(std::size_t size);

}  // namespace file_faults
