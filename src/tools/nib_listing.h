#pragma once
// The nibs that the list and find commands print: a line each, or one JSON array for scripts.
#include "tools/streamed_nibs.h"
#include "tools/terminal.h"

#include <cstdint>
#include <iosfwd>
#include <string>

// Appends the calendar seconds of a time as "YYYY-MM-DD HH:MM:SS" in UTC.
void append_utc_time(std::string& out, std::int32_t seconds);

enum class ListingFormat { lines, json };

// Gathers the printed nibs into large writes, as a stream would write a long listing a line at a time.
class NibListing {
public:
    NibListing(std::ostream& out, ListingFormat format, const Terminal& terminal)
        : out(out), format(format), terminal(terminal) {}

    // A line "POSITION<tab>ID<tab>TIME<tab>FIRST LINE", or an object {"position", "id", "time",
    // "text"} of the JSON array with the whole text the nib holds.
    void operator()(const ListedNib& nib);
    // Writes what is gathered and closes the JSON array, an empty one too.
    void finish();

private:
    void append_line(const ListedNib& nib);
    void append_object(const ListedNib& nib);
    void flush();

    std::ostream& out;
    ListingFormat format;
    const Terminal& terminal;
    std::string lines;
    std::string text;  // the nib's text for JSON, kept for its room
    bool any = false;
};
