#include "ui/copy_data.h"

#include <cstring>

std::string copy_data_text(const void* data, std::size_t size) {
    if (size == 0 || !data) return {};
    const char* text = static_cast<const char*>(data);
    // The sender's zero may be missing: the record's size is the only bound to trust.
    const void* zero = std::memchr(text, '\0', size);
    return std::string(text, zero ? static_cast<const char*>(zero) - text : size);
}

std::size_t copy_data_size(const std::string& text) { return text.empty() ? 0 : text.size() + 1; }
