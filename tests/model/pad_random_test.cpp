#include "model/pad.h"

#include "history_options.h"
#include "pad_checks.h"

#include <gtest/gtest.h>

#include <random>

namespace {

std::string random_text(std::mt19937& rng) {
    static const char alphabet[] = {'a', 'A', 'b', ' ', '\r', '\n', '\xC9', '\xE9', '\0'};
    std::string text(rng() % 6, ' ');
    for (char& c : text) c = alphabet[rng() % sizeof alphabet];
    return text;
}

// Every public operation, in random order and with random arguments (in and out of range),
// keeps the pad's invariants.
TEST(PadRandomTest, InvariantsHoldAfterEveryOperation) {
    const int histories = histories_or(300);
    for (int h = 0; h < histories; ++h) {
        const std::uint32_t seed = history_options().seed + static_cast<std::uint32_t>(h);
        SCOPED_TRACE("replay with --seed=" + std::to_string(seed) + " --histories=1");
        std::mt19937 rng(seed);
        Pad pad, other;
        for (int step = 0; step < 60; ++step) {
            Pad& target = rng() % 4 == 0 ? other : pad;
            const int position = static_cast<int>(rng() % (target.found_count() + 3)) - 1;
            switch (rng() % 11) {
            case 0: target.next(); break;
            case 1: target.previous(); break;
            case 2: target.go_to(position); break;
            case 3: target.find(random_text(rng).substr(0, rng() % 3)); break;
            case 4: target.set_current_text(random_text(rng)); break;
            case 5: target.new_nib(); break;
            case 6: target.delete_current(); break;
            case 7: target.move_current(static_cast<int>(rng() % (target.count() + 2)) - 1); break;
            case 8: target.sort_alphabetically(); break;
            case 9: target.add_nib(random_text(rng), rng() % 2 ? SyncStamp().id_text() : "", rng() % 2 ? "5 6 7" : ""); break;
            case 10: Pad::synchronise(pad, other); break;
            }
            ASSERT_TRUE(pad_is_sound(target)) << "after step " << step;
        }
    }
}

}  // namespace
