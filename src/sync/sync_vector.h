#pragma once
// The list of items under a pad together with the records of the items it deleted, and the merge
// of two such lists. T begins with a SyncStamp (derives from it) and is copyable.
#include "sync/deleted_records.h"
#include "sync/id_index.h"
#include "sync/sync_stamp.h"

#include <cstddef>
#include <cstdint>
#include <string>
#include <utility>
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
    void append(T&& item) { items.push_back(std::move(item)); }

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
        const IdIndex theirs = other.index_keeping_newest();
        const IdIndex mine = index();
        merge_into(other, theirs, mine.has_duplicates() ? &mine : nullptr);
    }

    // Afterwards both sides hold, for every id either knew, its newest item or deletion record
    // (this side's on equal times): this side's order, then what only `other` knew.
    void synchronize(SyncVector& other) {
        if (&other == this) return;
        exchange(other);
        other = *this;
    }

    // The two merges of synchronize without the final copy: this side then holds the outcome,
    // `other` the same ids in its own order, with its own version where two versions tie.
    void exchange(SyncVector& other) {
        if (&other == this) return;
        const IdIndex mine = index_keeping_newest();
        const IdIndex theirs = other.index_keeping_newest();
        merge_into(other, theirs, nullptr);
        // `mine` still holds: this side has not changed yet.
        other.merge_into(*this, mine, nullptr);
    }

    void purge_deleted(std::int32_t days) { purge_records(deleted, days); }

    // Writing first purges old records when there are many, in memory too, so that a later
    // synchronisation does not hand them on.
    void write_deleted(Mapfile& file, const std::string& prefix) { write_records(file, prefix, deleted); }
    void read_deleted(Mapfile& file, const std::string& prefix) { read_records(file, prefix, deleted); }

private:
    IdIndex index() const { return IdIndex(items, deleted); }

    // Drops every entry that loses to another of its id on this side (see IdIndex), as a pad read
    // from a damaged or hand-made file may hold such entries, and indexes the rest.
    IdIndex index_keeping_newest() {
        IdIndex found = index();
        if (!found.has_duplicates()) return found;
        erase_marked(items, found.items_to_drop());
        erase_marked(deleted, found.records_to_drop());
        return index();
    }

    template <typename E>
    static void erase_marked(std::vector<E>& list, const std::vector<char>& marked) {
        std::size_t kept = 0;
        for (std::size_t i = 0; i < list.size(); ++i) {
            if (i < marked.size() && marked[i]) continue;
            if (kept != i) list[kept] = std::move(list[i]);
            ++kept;
        }
        list.erase(list.begin() + static_cast<std::ptrdiff_t>(kept), list.end());
    }

    // The merge itself. `theirs` indexes `other` as it is now, each id once; `skip` marks
    // entries of this side that lose to another of their id.
    void merge_into(SyncVector& other, const IdIndex& theirs, const IdIndex* skip) const {
        std::vector<char> drop_item, drop_record;
        auto drop = [](std::vector<char>& marks, std::size_t size, std::int32_t position) {
            if (marks.empty()) marks.assign(size, 0);
            marks[position] = 1;
        };
        const std::size_t their_items = other.items.size(), their_records = other.deleted.size();
        // New entries wait here, so that the other side's list grows once, to its final size.
        std::vector<const T*> new_items;
        std::vector<const SyncStamp*> new_records;

        for (std::size_t i = 0; i < items.size(); ++i) {
            if (skip && skip->items_to_drop()[i]) continue;
            const T& item = items[i];
            const IdIndex::Places there = theirs.find(item.id);
            if (there.item < 0 && there.record < 0) {
                new_items.push_back(&item);
            } else if (there.item >= 0 && other.items[there.item].time < item.time) {
                other.items[there.item] = item;
            } else if (there.record >= 0 && other.deleted[there.record].time < item.time) {
                // Changed here after the other side deleted it: it comes back.
                new_items.push_back(&item);
                drop(drop_record, their_records, there.record);
            }
        }
        for (std::size_t j = 0; j < deleted.size(); ++j) {
            if (skip && skip->records_to_drop()[j]) continue;
            const SyncStamp& record = deleted[j];
            const IdIndex::Places there = theirs.find(record.id);
            if (there.item < 0 && there.record < 0) {
                new_records.push_back(&record);
            } else if (there.item >= 0 && other.items[there.item].time < record.time) {
                new_records.push_back(&record);
                drop(drop_item, their_items, there.item);
            } else if (there.record >= 0 && other.deleted[there.record].time < record.time) {
                other.deleted[there.record] = record;
            }
        }
        if (!drop_item.empty()) erase_marked(other.items, drop_item);
        if (!drop_record.empty()) erase_marked(other.deleted, drop_record);
        other.items.reserve(other.items.size() + new_items.size());
        for (const T* item : new_items) other.items.push_back(*item);
        other.deleted.reserve(other.deleted.size() + new_records.size());
        for (const SyncStamp* record : new_records) other.deleted.push_back(*record);
    }
};
