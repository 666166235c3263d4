#pragma once
// The time of a nib's last change. Three numbers, compared in order, so that two stamps made in
// one run never compare equal.
#include <cstdint>
#include <string>

struct Timestamp {
    std::int32_t seconds = 0;   // calendar seconds since 1970 (UTC)
    std::int32_t millis = 0;    // milliseconds since this run started
    std::int32_t sequence = 0;  // tells apart stamps made within one millisecond, from 1

    static Timestamp now();

    // "%i %i %i"; reading takes the numbers in the "%i" scan notation, missing ones read as 0.
    std::string to_text() const;
    static Timestamp from_text(const std::string& text);

    friend bool operator<(const Timestamp& a, const Timestamp& b) {
        if (a.seconds != b.seconds) return a.seconds < b.seconds;
        if (a.millis != b.millis) return a.millis < b.millis;
        return a.sequence < b.sequence;
    }
    friend bool operator==(const Timestamp&, const Timestamp&) = default;
};

// Milliseconds since this run started (the process clock).
std::int32_t process_millis();
