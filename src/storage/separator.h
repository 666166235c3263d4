#pragma once
// The separator string that joins nib texts in exported and imported text files.
#include <cstddef>
#include <string>
#include <string_view>

// Two line feeds, 30 hyphens and two line feeds.
extern const std::string default_separator;

// How many bytes at the start of `text` the separator covers, or 0 when it does not match there.
// A line feed in the separator also matches a carriage return and line feed pair or a lone
// carriage return, and a carriage return matches a line feed; every other byte must be equal.
// Never looks beyond the end of `text`.
std::size_t separator_match(std::string_view separator, std::string_view text);

// The editable one-line form of a separator: tab as \t, line feed as \n, backslash as \\,
// carriage returns left out.
std::string encode_separator(std::string_view separator);
// The reverse: \n and \t give line feed and tab, \\ a backslash; a backslash before any other
// character, or at the end, is dropped, and so are carriage returns.
std::string decode_separator(std::string_view typed);
