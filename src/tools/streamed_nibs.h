#pragma once
// The nibs of a pad file as the list and find commands show them, handed on while the file is
// read: a query that only reads never holds a large pad whole, and decodes only what it shows.
// They are the nibs, and the positions, that loading the pad and finding in it would give.
#include <cstddef>
#include <cstdint>
#include <functional>
#include <string>
#include <string_view>

struct ListedNib {
    std::size_t position;   // from 1
    std::string_view id;    // the id's text
    std::int32_t seconds;   // calendar seconds of the last change
    std::string_view text;  // as the file stores it; store_nib_text gives the text the nib holds
};

using ShowNib = std::function<void(const ListedNib& nib)>;

// Every nib of the loaded pad.
void for_each_listed_nib(const std::string& path, const ShowNib& show);
// The nibs that the pad's find gives for `query`, numbered as they stand once the find has
// dropped empty nibs.
void for_each_found_nib(const std::string& path, const std::string& query, const ShowNib& show);
