// Arbitrary text typed into the separator dialog, and arbitrary file bytes to match it against.
// Decoding must not crash, its result must survive the dialog's round trip unchanged, and a match
// never covers more bytes than the text has.
#include "storage/separator.h"

#include <algorithm>
#include <cstdint>
#include <cstdlib>
#include <string>
#include <string_view>

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const std::string_view input(reinterpret_cast<const char*>(data), size);
    // The first line is the typed separator, the rest the text of a file.
    const std::size_t cut = std::min(input.find('\n'), input.size());
    const std::string_view typed = input.substr(0, cut), text = input.substr(cut);

    const std::string separator = decode_separator(typed);
    if (separator.size() > typed.size()) std::abort();
    if (decode_separator(encode_separator(separator)) != separator) std::abort();
    if (!separator.empty() && separator_match(separator, text) > text.size()) std::abort();
    return 0;
}
