// Arbitrary bytes as a word Ctrl+clicked in a nib: decoding and classifying must not crash, and
// a path written as link text must read back as the same path.
#include "ui/link_text.h"

#include <cstdint>
#include <string>

namespace {

bool is_space(char c) { return c == ' ' || c == '\t' || c == '\n' || c == '\v' || c == '\f' || c == '\r'; }

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const std::string text(reinterpret_cast<const char*>(data), size);
    classify_link(decode_link(text));
    // Blanks become "+" in link text; other white space at either end would be trimmed away.
    if (!text.empty() && (is_space(text.front()) || is_space(text.back()))) return 0;
    if (decode_link(encode_file_link(text)) != text) __builtin_trap();
    return 0;
}
