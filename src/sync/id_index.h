#pragma once
// Lookups by id for a merge: positions of one list, sorted by the system's id order.
#include "sync/sync_stamp.h"

#include <cstdint>
#include <utility>
#include <vector>

class IdIndex {
public:
    // Where an id occurs more than once, the later position counts.
    explicit IdIndex(const std::vector<Uuid>& ids);
    // The position of the id, or -1.
    std::int32_t find(const Uuid& id) const;

private:
    std::vector<std::pair<Uuid, std::int32_t>> entries;
};

// Which entries of one side lose to another entry of the same id on that side: a pad file may
// hold an id twice, or as a nib and as a deletion record. The newest entry stays; on equal times
// a nib stays rather than a deletion record, and the first of equal nibs or records.
struct Duplicates {
    std::vector<char> drop_item;
    std::vector<char> drop_record;
    bool any = false;
};
Duplicates find_duplicates(const std::vector<SyncStamp>& items, const std::vector<SyncStamp>& records);
