// Arbitrary bytes as a Ctrl+clicked word. Decoding and judging it must not crash, and a path that
// Insert File Link wrote must read back as that path and be judged like it.
#include "ui/link_text.h"

#include <cstdint>
#include <cstdlib>
#include <string>

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const std::string word(reinterpret_cast<const char*>(data), size);
    static_cast<void>(classify_link(decode_link(word)));

    // Links are trimmed, so only a path without white space at its ends comes back whole.
    const std::string space = " \t\n\v\f\r";
    if (word.empty() || space.find(word.front()) != std::string::npos || space.find(word.back()) != std::string::npos)
        return 0;
    const std::string link = encode_file_link(word);
    if (link.find(' ') != std::string::npos || decode_link(link) != word) std::abort();
    if (classify_link(decode_link(link)) != classify_link(word)) std::abort();
    return 0;
}
