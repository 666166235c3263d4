#include "sync/id_index.h"

#include <algorithm>
#include <tuple>

void IdIndex::sort_entries() {
    std::sort(entries.begin(), entries.end(), [](const Entry& a, const Entry& b) {
        int order = platform::uuid_compare(a.id, b.id);
        if (order != 0) return order < 0;
        return std::tie(a.kind, a.position) < std::tie(b.kind, b.position);
    });
}

IdIndex::Places IdIndex::find(const Uuid& id) const {
    Places places;
    auto it = std::lower_bound(entries.begin(), entries.end(), id,
                               [](const Entry& entry, const Uuid& wanted) { return uuid_less(entry.id, wanted); });
    for (; it != entries.end() && uuid_equal(it->id, id); ++it) (it->kind == 0 ? places.item : places.record) = it->position;
    return places;
}

void IdIndex::mark_duplicates(const std::function<const Timestamp&(const Entry&)>& time_of, std::size_t items,
                              std::size_t records) {
    for (std::size_t first = 0; first < entries.size();) {
        std::size_t end = first + 1;
        while (end < entries.size() && uuid_equal(entries[end].id, entries[first].id)) ++end;
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
