#pragma once
// Finds a query in texts, byte for byte. Finding runs over every nib at each keystroke, so the
// scan looks first for the query's least common bytes and compares the whole query only where
// they stand.
#include <cstddef>
#include <string>
#include <string_view>

class TextSearch {
public:
    explicit TextSearch(std::string query);

    // Offset of the first occurrence of the query in `text`, or std::string::npos. An empty
    // query occurs at 0.
    std::size_t find_in(std::string_view text) const;

private:
    std::size_t find_rare(std::string_view text) const;
    std::size_t find_pair(std::string_view text) const;
    bool matches_at(const char* start) const;

    std::string query;
    std::size_t rare = 0;    // index of the query's least common byte
    std::size_t second = 0;  // index of the next least common one, another place when there is one
    bool rare_is_rare = true;
};
