#pragma once
// The list of items under a pad together with the records of the items it deleted, and the merge
// of two such lists. T begins with a SyncStamp (derives from it) and is copyable.
#include "sync/deleted_records.h"
#include "sync/id_index.h"
#include "sync/sync_stamp.h"

#include <algorithm>
#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

class Mapfile;

template <typename T>
class SyncVector {
public:
    // The items in display order; an id stands at most once here and in `deleted`, not in both.
    std::vector<T> items;
    // One record per removed item: its id and the time of removal.
    std::vector<SyncStamp> deleted;

    void append(const T& item) { items.push_back(item); }

    // Stamps the item at `index` with the time now.
    void touch(std::size_t index) { items[index].time = Timestamp::now(); }

    // Removes the item at `index`, leaving a deletion record stamped now.
    void remove(std::size_t index) {
        touch(index);
        deleted.push_back(static_cast<const SyncStamp&>(items[index]));
        items.erase(items.begin() + static_cast<std::ptrdiff_t>(index));
    }

    // Brings this side's items and deletions into `other`; changes only `other`.
    void merge_into(SyncVector& other) const {
        if (&other == this) return;
        other.keep_newest_per_id();
        Duplicates mine = find_duplicates(stamps_of(items), deleted);
        merge_kept_into(other, mine.any ? &mine : nullptr);
    }

    // Afterwards both sides hold, for every id either knew, its newest item or deletion record
    // (this side's on equal times): this side's order, then what only `other` knew.
    void synchronize(SyncVector& other) {
        if (&other == this) return;
        keep_newest_per_id();
        other.keep_newest_per_id();
        merge_kept_into(other, nullptr);
        other.merge_kept_into(*this, nullptr);
        other = *this;
    }

    // Drops every entry that loses to a newer one of the same id on this side (see
    // find_duplicates); a pad read from a damaged or hand-made file may hold such entries.
    void keep_newest_per_id() {
        Duplicates duplicates = find_duplicates(stamps_of(items), deleted);
        if (!duplicates.any) return;
        erase_marked(items, duplicates.drop_item);
        erase_marked(deleted, duplicates.drop_record);
    }

    void purge_deleted(std::int32_t days) { purge_records(deleted, days); }

    // Saving does not change the pad: the purge before writing applies to what is written.
    void write_deleted(Mapfile& file, const std::string& prefix) const { write_records(file, prefix, deleted); }
    void read_deleted(Mapfile& file, const std::string& prefix) { read_records(file, prefix, deleted); }

private:
    static std::vector<SyncStamp> stamps_of(const std::vector<T>& list) {
        return std::vector<SyncStamp>(list.begin(), list.end());
    }

    static std::vector<Uuid> ids_of(const auto& list) {
        std::vector<Uuid> ids;
        ids.reserve(list.size());
        for (const auto& entry : list) ids.push_back(entry.id);
        return ids;
    }

    template <typename E>
    static void erase_marked(std::vector<E>& list, const std::vector<char>& marked) {
        std::size_t kept = 0;
        for (std::size_t i = 0; i < list.size(); ++i) {
            if (marked[i]) continue;
            if (kept != i) list[kept] = std::move(list[i]);
            ++kept;
        }
        list.erase(list.begin() + static_cast<std::ptrdiff_t>(kept), list.end());
    }

    // The merge itself; `skip` marks entries of this side that lose to another of their id.
    // Expects `other` to hold each id once.
    void merge_kept_into(SyncVector& other, const Duplicates* skip) const {
        const IdIndex other_items(ids_of(other.items));
        const IdIndex other_deleted(ids_of(other.deleted));
        std::vector<char> drop_item(other.items.size(), 0);
        std::vector<char> drop_record(other.deleted.size(), 0);
        bool dropping = false;

        for (std::size_t i = 0; i < items.size(); ++i) {
            if (skip && skip->drop_item[i]) continue;
            const T& item = items[i];
            std::int32_t b = other_items.find(item.id);
            std::int32_t d = other_deleted.find(item.id);
            if (b < 0 && d < 0) {
                other.items.push_back(item);
            } else if (b >= 0 && other.items[b].time < item.time) {
                other.items[b] = item;
            } else if (d >= 0 && other.deleted[d].time < item.time) {
                // Changed here after the other side deleted it: it comes back.
                other.items.push_back(item);
                drop_record[d] = 1;
                dropping = true;
            }
        }
        for (std::size_t j = 0; j < deleted.size(); ++j) {
            if (skip && skip->drop_record[j]) continue;
            const SyncStamp& record = deleted[j];
            std::int32_t b = other_items.find(record.id);
            std::int32_t d = other_deleted.find(record.id);
            if (b < 0 && d < 0) {
                other.deleted.push_back(record);
            } else if (b >= 0 && other.items[b].time < record.time) {
                other.deleted.push_back(record);
                drop_item[b] = 1;
                dropping = true;
            } else if (d >= 0 && other.deleted[d].time < record.time) {
                other.deleted[d] = record;
            }
        }
        if (!dropping) return;
        // Entries appended above lie past the marks and are never dropped.
        drop_item.resize(other.items.size(), 0);
        drop_record.resize(other.deleted.size(), 0);
        erase_marked(other.items, drop_item);
        erase_marked(other.deleted, drop_record);
    }
};
