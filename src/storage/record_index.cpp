#include "storage/record_index.h"

#include <algorithm>
#include <functional>

namespace {

std::size_t hash_of(std::string_view key) { return std::hash<std::string_view>{}(key); }

std::uint32_t tag_of(std::size_t hash) { return static_cast<std::uint32_t>(static_cast<std::uint64_t>(hash) >> 32); }

}  // namespace

std::size_t RecordIndex::slot_of(std::string_view key, std::size_t hash) const {
    const std::size_t mask = slots.size() - 1;
    const std::uint32_t tag = tag_of(hash);
    for (std::size_t at = hash & mask;; at = (at + 1) & mask) {
        const Slot& slot = slots[at];
        if (slot.entry == 0 || (slot.tag == tag && entries[slot.entry - 1].key == key)) return at;
    }
}

const std::string_view* RecordIndex::find(std::string_view key) const {
    if (slots.empty()) return nullptr;
    const std::uint32_t entry = slots[slot_of(key, hash_of(key))].entry;
    return entry != 0 && entries[entry - 1].present ? &entries[entry - 1].value : nullptr;
}

void RecordIndex::assign(std::string_view key, std::string_view value) {
    // At most half full, so that probes stay short and an empty slot always ends them.
    if ((entries.size() + 1) * 2 > slots.size()) grow();
    const std::size_t hash = hash_of(key);
    const std::size_t at = slot_of(key, hash);
    if (slots[at].entry != 0) {
        Entry& entry = entries[slots[at].entry - 1];
        entry.value = value;
        entry.present = true;
        return;
    }
    entries.push_back(Entry{key, value, true});
    slots[at] = Slot{static_cast<std::uint32_t>(entries.size()), tag_of(hash)};
}

void RecordIndex::erase(std::string_view key) {
    if (slots.empty()) return;
    const std::uint32_t entry = slots[slot_of(key, hash_of(key))].entry;
    if (entry != 0) entries[entry - 1].present = false;
}

std::vector<std::pair<std::string_view, std::string_view>> RecordIndex::sorted() const {
    std::vector<std::pair<std::string_view, std::string_view>> present;
    present.reserve(entries.size());
    for (const Entry& entry : entries)
        if (entry.present) present.emplace_back(entry.key, entry.value);
    std::sort(present.begin(), present.end(), [](const auto& a, const auto& b) { return a.first < b.first; });
    return present;
}

void RecordIndex::grow() {
    slots.assign(std::max<std::size_t>(slots.size() * 2, 1024), Slot{0, 0});
    for (std::size_t i = 0; i < entries.size(); ++i) {
        const std::size_t hash = hash_of(entries[i].key);
        slots[slot_of(entries[i].key, hash)] = Slot{static_cast<std::uint32_t>(i + 1), tag_of(hash)};
    }
}
