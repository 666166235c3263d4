#include "sync/id_index.h"

#include <algorithm>
#include <tuple>

IdIndex::Key IdIndex::key_of(const Uuid& id) {
    std::uint64_t low = 0;
    for (std::uint8_t byte : id.data4) low = (low << 8) | byte;
    return {(std::uint64_t{id.data1} << 32) | (std::uint64_t{id.data2} << 16) | id.data3, low};
}

void IdIndex::sort_entries() {
    std::sort(entries.begin(), entries.end(), [](const Entry& a, const Entry& b) {
        return std::tie(a.id, a.kind, a.position) < std::tie(b.id, b.kind, b.position);
    });
}

IdIndex::Places IdIndex::find(const Uuid& id) const {
    Places places;
    const Key key = key_of(id);
    auto it = std::lower_bound(entries.begin(), entries.end(), key,
                               [](const Entry& entry, const Key& wanted) { return entry.id < wanted; });
    for (; it != entries.end() && it->id == key; ++it) (it->kind == 0 ? places.item : places.record) = it->position;
    return places;
}

void IdIndex::mark_duplicates(const std::function<const Timestamp&(const Entry&)>& time_of, std::size_t items,
                              std::size_t records) {
    for (std::size_t first = 0; first < entries.size();) {
        std::size_t end = first + 1;
        while (end < entries.size() && entries[end].id == entries[first].id) ++end;
        if (end - first > 1) {
            if (!duplicates) {
                drop_item.assign(items, 0);
                drop_record.assign(records, 0);
                duplicates = true;
            }
            // Entries of one id stand items first, each kind in order: only a strictly newer
            // entry displaces the first.
            std::size_t winner = first;
            for (std::size_t i = first + 1; i < end; ++i)
                if (time_of(entries[winner]) < time_of(entries[i])) winner = i;
            for (std::size_t i = first; i < end; ++i)
                if (i != winner) (entries[i].kind == 0 ? drop_item : drop_record)[entries[i].position] = 1;
        }
        first = end;
    }
}
