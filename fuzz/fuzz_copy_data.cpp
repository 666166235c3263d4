// Arbitrary bytes as the WM_COPYDATA record of another process: the text must never reach past
// the record's size, and a text sent by this program must arrive unchanged.
#include "ui/copy_data.h"

#include <cstdint>
#include <cstring>
#include <memory>
#include <string>

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    // A copy of exactly `size` bytes, so that AddressSanitizer catches a read past it.
    std::unique_ptr<char[]> record(new char[size ? size : 1]);
    if (size) std::memcpy(record.get(), data, size);
    const std::string text = copy_data_text(record.get(), size);
    // What a second start sends: the text and its zero.
    std::string bytes = text;
    bytes.resize(copy_data_size(text));
    if (copy_data_text(bytes.data(), bytes.size()) != text) __builtin_trap();
    return 0;
}
