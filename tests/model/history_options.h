#pragma once
// Seeds of the randomised tests. A failing history prints its seed; replay it with
// --seed=N --histories=1, or run longer with --histories=N (or SCRIVEL_SEED / SCRIVEL_HISTORIES).
#include <cstdint>

struct HistoryOptions {
    std::uint32_t seed = 20261206;
    int histories = 0;  // 0: each test's own count
};

HistoryOptions& history_options();

// The number of histories a test runs: its own default unless one was asked for.
inline int histories_or(int default_count) {
    return history_options().histories > 0 ? history_options().histories : default_count;
}
