#include "sync/timestamp.h"

#include <chrono>
#include <cstdlib>
#include <ctime>
#include <limits>

namespace {

const auto run_start = std::chrono::steady_clock::now();

// The millisecond value last given out and the count of stamps made within it.
std::int32_t last_millis = 0;
std::int32_t sequence_counter = 0;

std::int32_t clamp_to_int32(long long value) {
    if (value > std::numeric_limits<std::int32_t>::max()) return std::numeric_limits<std::int32_t>::max();
    if (value < std::numeric_limits<std::int32_t>::min()) return std::numeric_limits<std::int32_t>::min();
    return static_cast<std::int32_t>(value);
}

}  // namespace

std::int32_t process_millis() {
    auto elapsed = std::chrono::steady_clock::now() - run_start;
    return static_cast<std::int32_t>(std::chrono::duration_cast<std::chrono::milliseconds>(elapsed).count());
}

Timestamp Timestamp::now() {
    Timestamp stamp;
    stamp.seconds = static_cast<std::int32_t>(std::time(nullptr));
    stamp.millis = process_millis();
    if (stamp.millis != last_millis) {
        sequence_counter = 0;
        last_millis = stamp.millis;
    }
    stamp.sequence = ++sequence_counter;
    return stamp;
}

std::string Timestamp::to_text() const {
    return std::to_string(seconds) + ' ' + std::to_string(millis) + ' ' + std::to_string(sequence);
}

Timestamp Timestamp::from_text(const std::string& text) {
    // The "%i" scan rules (leading 0x hexadecimal, leading 0 octal), without its undefined
    // behaviour on numbers out of range: those are clamped.
    Timestamp stamp;
    std::int32_t* fields[] = {&stamp.seconds, &stamp.millis, &stamp.sequence};
    const char* position = text.c_str();
    for (std::int32_t* field : fields) {
        char* end = nullptr;
        long long value = std::strtoll(position, &end, 0);
        if (end == position) break;
        *field = clamp_to_int32(value);
        position = end;
    }
    return stamp;
}
