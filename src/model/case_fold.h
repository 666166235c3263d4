#pragma once
// Lower case in the system's code page, byte by byte, looked up once per byte value.
#include <array>
#include <string>
#include <string_view>

// The lower-case form of every byte value.
const std::array<unsigned char, 256>& lower_table();

// The text lower-cased byte by byte; the length stays.
std::string lower_case(std::string_view text);
