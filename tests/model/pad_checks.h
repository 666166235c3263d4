#pragma once
// The invariants every pad keeps after every public operation.
#include "model/pad.h"

#include <gtest/gtest.h>

#include <set>

inline ::testing::AssertionResult pad_is_sound(const Pad& pad) {
    const auto& nibs = pad.nibs();
    if (pad.count() < 1 || pad.count() != static_cast<std::int32_t>(nibs.size()))
        return ::testing::AssertionFailure() << "count " << pad.count() << " with " << nibs.size() << " nibs";
    if (pad.current() < 0 || pad.current() >= pad.count())
        return ::testing::AssertionFailure() << "current " << pad.current() << " of " << pad.count();
    std::int32_t found = 0, rank = 0;
    for (std::int32_t i = 0; i < pad.count(); ++i) {
        if (!nibs[i].found()) continue;
        ++found;
        if (i < pad.current()) ++rank;
    }
    if (found != pad.found_count())
        return ::testing::AssertionFailure() << "found_count " << pad.found_count() << " but " << found << " found";
    if (found != 0 && !nibs[pad.current()].found()) return ::testing::AssertionFailure() << "current nib not found";
    if (found != 0 && pad.position() != rank + 1)
        return ::testing::AssertionFailure() << "position " << pad.position() << " but rank " << rank;
    std::set<std::string> ids;
    for (const Nib& nib : nibs)
        if (!ids.insert(nib.id_text()).second) return ::testing::AssertionFailure() << "nib id twice " << nib.id_text();
    for (const SyncStamp& record : pad.deletions())
        if (!ids.insert(record.id_text()).second)
            return ::testing::AssertionFailure() << "id twice among nibs and deletions " << record.id_text();
    return ::testing::AssertionSuccess();
}
