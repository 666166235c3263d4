#pragma once
// One line per nib for the list and find commands.
#include "tools/streamed_nibs.h"

#include <cstdint>
#include <string>

// Appends the calendar seconds of a time as "YYYY-MM-DD HH:MM:SS" in UTC.
void append_utc_time(std::string& out, std::int32_t seconds);

// Appends "POSITION<tab>ID<tab>TIME<tab>FIRST LINE" and a line feed.
void append_nib_line(std::string& out, const ListedNib& nib);
