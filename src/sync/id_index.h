#pragma once
// Lookups by id for a merge: where an id stands among one side's items and deletion records,
// sorted once by the system's id order.
#include "sync/sync_stamp.h"

#include <compare>
#include <cstdint>
#include <functional>
#include <vector>

class IdIndex {
public:
    struct Places {
        std::int32_t item = -1;    // position in the items, or -1
        std::int32_t record = -1;  // position in the deletion records, or -1
    };

    // Item and Record begin with a SyncStamp.
    template <typename Item, typename Record>
    IdIndex(const std::vector<Item>& items, const std::vector<Record>& records) {
        entries.reserve(items.size() + records.size());
        for (std::size_t i = 0; i < items.size(); ++i) entries.push_back({key_of(items[i].id), 0, static_cast<std::int32_t>(i)});
        for (std::size_t i = 0; i < records.size(); ++i) entries.push_back({key_of(records[i].id), 1, static_cast<std::int32_t>(i)});
        sort_entries();
        mark_duplicates([&](const Entry& e) -> const Timestamp& {
            return e.kind == 0 ? items[e.position].time : records[e.position].time;
        }, items.size(), records.size());
    }

    // Where an id occurs more than once in a list, the later position counts.
    Places find(const Uuid& id) const;

    // A pad file may hold an id twice, or as a nib and as a deletion record. Of such entries the
    // newest stays; on equal times a nib rather than a deletion record, and the first of equals.
    // These mark the others, by position; empty when there are none.
    const std::vector<char>& items_to_drop() const { return drop_item; }
    const std::vector<char>& records_to_drop() const { return drop_record; }
    bool has_duplicates() const { return duplicates; }

private:
    // The id as two numbers: the index needs only some total order of ids, and comparing two
    // numbers sorts a large pad's ids far faster than the system's field-wise comparison.
    struct Key {
        std::uint64_t high;
        std::uint64_t low;
        friend auto operator<=>(const Key&, const Key&) = default;
    };
    struct Entry {
        Key id;
        std::int32_t kind;  // 0 item, 1 deletion record
        std::int32_t position;
    };

    static Key key_of(const Uuid& id);

    void sort_entries();
    void mark_duplicates(const std::function<const Timestamp&(const Entry&)>& time_of, std::size_t items,
                         std::size_t records);

    std::vector<Entry> entries;
    std::vector<char> drop_item;
    std::vector<char> drop_record;
    bool duplicates = false;
};
