#pragma once
// One line per nib for the list and find commands.
#include "tools/streamed_nibs.h"

#include <cstdint>
#include <string>

// The calendar seconds of a time as "YYYY-MM-DD HH:MM:SS" in UTC.
std::string utc_time_text(std::int32_t seconds);

// "POSITION<tab>ID<tab>TIME<tab>FIRST LINE", the position counted from 1.
std::string nib_line(const ListedNib& nib);
