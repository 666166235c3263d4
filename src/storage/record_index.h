#pragma once
// The records of a key/value file by key, in a hash table of views: a pad file holds hundreds of
// thousands of records, and a tree node per record cost more than reading the file itself.
#include <cstdint>
#include <string_view>
#include <utility>
#include <vector>

class RecordIndex {
public:
    // The key's value, or null when the key is absent.
    const std::string_view* find(std::string_view key) const;
    // Sets the key's value, adding the key when it is new. The key's bytes must outlive the index.
    void assign(std::string_view key, std::string_view value);
    void erase(std::string_view key);
    // The keys present with their values, in ascending byte order of the keys.
    std::vector<std::pair<std::string_view, std::string_view>> sorted() const;

private:
    struct Entry {
        std::string_view key;
        std::string_view value;
        bool present;
    };
    // Open addressing over `entries`. A slot keeps part of its key's hash, so that a probe
    // touches an entry, far off in memory, only when the key most likely is the one sought.
    struct Slot {
        std::uint32_t entry;  // the entry's position plus one; 0 when the slot is empty
        std::uint32_t tag;    // the key's hash, high half
    };
    // The slot that holds the key, or the empty slot where it would go.
    std::size_t slot_of(std::string_view key, std::size_t hash) const;
    void grow();

    std::vector<Entry> entries;
    // Erased keys keep their entry, marked absent, so no slot is ever freed.
    std::vector<Slot> slots;
};
