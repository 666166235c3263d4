#pragma once
// Lookups by id for a merge: where an id stands among one side's items and deletion records,
// sorted once by the system's id order.
#include "sync/sync_stamp.h"

#include <cstdint>
#include <vector>

class IdIndex {
public:
    struct Places {
        std::int32_t item = -1;    // position in the items, or -1
        std::int32_t record = -1;  // position in the deletion records, or -1
    };

    IdIndex(const std::vector<SyncStamp>& items, const std::vector<SyncStamp>& records);

    // Where an id occurs more than once in a list, the later position counts.
    Places find(const Uuid& id) const;

    // A pad file may hold an id twice, or as a nib and as a deletion record. Of such entries the
    // newest stays; on equal times a nib rather than a deletion record, and the first of equals.
    // These mark the others, by position; empty when there are none.
    const std::vector<char>& items_to_drop() const { return drop_item; }
    const std::vector<char>& records_to_drop() const { return drop_record; }
    bool has_duplicates() const { return duplicates; }

private:
    struct Entry {
        Uuid id;
        std::int32_t kind;  // 0 item, 1 deletion record
        std::int32_t position;
    };

    void mark_duplicates(const std::vector<SyncStamp>& items, const std::vector<SyncStamp>& records);

    std::vector<Entry> entries;
    std::vector<char> drop_item;
    std::vector<char> drop_record;
    bool duplicates = false;
};
