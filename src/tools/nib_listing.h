#pragma once
// The nibs that list and find print, one at a time as they are read.
#include "tools/terminal.h"

#include <cstdint>
#include <iosfwd>
#include <string>
#include <string_view>

// The calendar seconds of a time as "YYYY-MM-DD HH:MM:SS" in UTC.
std::string utc_time_text(std::int32_t seconds);

enum class ListingFormat { lines, json };

class NibListing {
public:
    NibListing(std::ostream& out, ListingFormat format, const Terminal& terminal)
        : out(out), format(format), terminal(terminal) {}

    // A line "POSITION<tab>ID<tab>TIME<tab>FIRST LINE", or a JSON object {"position", "id",
    // "time", "text"} with the whole text; the position counted from 1.
    void write(std::size_t position, std::string_view id_text, std::int32_t seconds, std::string_view text);
    // Closes the JSON array, an empty one too; nothing for lines.
    void finish();

private:
    std::ostream& out;
    ListingFormat format;
    const Terminal& terminal;
    bool any = false;
};
