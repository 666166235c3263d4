#pragma once
// Finds a lower-case query in texts of any case: a byte of the text matches a byte of the query
// when it lower-cases to it. Finding runs over every nib at each keystroke and nibs keep no
// lower-case copy, so the scan looks first for the query's least common bytes, in each of their
// cases, and compares the whole query only where they stand.
#include <array>
#include <cstddef>
#include <string>
#include <string_view>

class TextSearch {
public:
    explicit TextSearch(std::string lower_query);

    // Offset of the first occurrence of the query in `text`, or std::string::npos. An empty
    // query occurs at 0.
    std::size_t find_in(std::string_view text) const;

private:
    // One byte of the query and the bytes of a text that lower-case to it. A text byte b can be
    // one of them only when (b | mask) == value; that test lets every one of them pass.
    struct Cased {
        std::size_t place = 0;
        unsigned char value = 0;
        unsigned char mask = 0;
        std::array<char, 4> forms{};  // the bytes themselves, when there are no more than four
        std::size_t form_count = 0;
    };
    Cased cased(std::size_t place) const;

    std::size_t find_rare(std::string_view text) const;
    std::size_t find_pair(std::string_view text) const;
    bool matches_at(const char* start) const;

    std::string query;
    const std::array<unsigned char, 256>& lower;
    Cased rare;    // the query's least common byte
    Cased second;  // the next least common one, another place when there is one
    bool scan_rare = true;
};
