#include "sync/id_index.h"

#include <algorithm>
#include <tuple>

IdIndex::IdIndex(const std::vector<Uuid>& ids) {
    entries.reserve(ids.size());
    for (std::size_t i = 0; i < ids.size(); ++i) entries.emplace_back(ids[i], static_cast<std::int32_t>(i));
    std::sort(entries.begin(), entries.end(), [](const auto& a, const auto& b) {
        int order = platform::uuid_compare(a.first, b.first);
        return order != 0 ? order < 0 : a.second < b.second;
    });
    // Of equal ids keep the last entry, the one with the later position.
    auto last_of_each = std::unique(entries.rbegin(), entries.rend(),
                                    [](const auto& a, const auto& b) { return uuid_equal(a.first, b.first); });
    entries.erase(entries.begin(), last_of_each.base());
}

std::int32_t IdIndex::find(const Uuid& id) const {
    auto it = std::lower_bound(entries.begin(), entries.end(), id,
                               [](const auto& entry, const Uuid& wanted) { return uuid_less(entry.first, wanted); });
    if (it == entries.end() || !uuid_equal(it->first, id)) return -1;
    return it->second;
}

namespace {

struct Entry {
    const SyncStamp* stamp;
    int kind;  // 0 item, 1 deletion record: an item wins over a record of the same time
    std::int32_t position;
};

}  // namespace

Duplicates find_duplicates(const std::vector<SyncStamp>& items, const std::vector<SyncStamp>& records) {
    Duplicates result;
    result.drop_item.assign(items.size(), 0);
    result.drop_record.assign(records.size(), 0);

    std::vector<Entry> entries;
    entries.reserve(items.size() + records.size());
    for (std::size_t i = 0; i < items.size(); ++i) entries.push_back({&items[i], 0, static_cast<std::int32_t>(i)});
    for (std::size_t i = 0; i < records.size(); ++i) entries.push_back({&records[i], 1, static_cast<std::int32_t>(i)});
    std::sort(entries.begin(), entries.end(), [](const Entry& a, const Entry& b) {
        int order = platform::uuid_compare(a.stamp->id, b.stamp->id);
        if (order != 0) return order < 0;
        return std::tie(a.kind, a.position) < std::tie(b.kind, b.position);
    });

    for (std::size_t first = 0; first < entries.size();) {
        std::size_t end = first + 1;
        while (end < entries.size() && uuid_equal(entries[end].stamp->id, entries[first].stamp->id)) ++end;
        if (end - first > 1) {
            // Only a strictly newer entry displaces the first of its group.
            std::size_t winner = first;
            for (std::size_t i = first + 1; i < end; ++i)
                if (entries[winner].stamp->time < entries[i].stamp->time) winner = i;
            for (std::size_t i = first; i < end; ++i) {
                if (i == winner) continue;
                auto& drop = entries[i].kind == 0 ? result.drop_item : result.drop_record;
                drop[entries[i].position] = 1;
            }
            result.any = true;
        }
        first = end;
    }
    return result;
}
