#include "model/nib.h"

#include "support/platform.h"

#include <array>
#include <cstring>

namespace {

// The system's conversion looked up once per byte value: finding lower-cases every nib.
const std::array<char, 256>& lower_table() {
    static const std::array<char, 256> table = [] {
        std::array<char, 256> t{};
        for (int i = 0; i < 256; ++i) t[i] = platform::to_lower(static_cast<char>(i));
        return t;
    }();
    return table;
}

}  // namespace

std::string lower_case(const std::string& text) {
    const auto& table = lower_table();
    std::string lower(text);
    for (char& c : lower) c = table[static_cast<unsigned char>(c)];
    return lower;
}

Nib::Nib() = default;

Nib::Nib(const std::string& text) { set_text(text); }

Nib::Nib(const std::string& text, const std::string& id_text, const std::string& time_text)
    : SyncStamp(id_text, time_text) {
    set_text(text);
}

void Nib::set_text(const std::string& text) {
    const char* begin = text.data();
    const char* end = begin + text.size();
    if (const void* zero = std::memchr(begin, 0, text.size())) end = static_cast<const char*>(zero);

    std::string result;
    result.reserve(static_cast<std::size_t>(end - begin));
    const char* run = begin;
    for (const char* p = begin; p < end; ++p) {
        if (*p == '\n' && (p == begin || p[-1] != '\r')) {
            result.append(run, p);
            result += '\r';
            run = p;  // the line feed opens the next run
        }
    }
    result.append(run, end);
    text_ = std::move(result);
    lower_text_ = lower_case(text_);
}

std::int32_t Nib::match(const std::string& lower_query) { return match(lower_query, TextSearch(lower_query)); }

std::int32_t Nib::match(const std::string& lower_query, const TextSearch& search) {
    if (lower_query.empty()) {
        found_ = 1;
        match_pos_ = -1;
        return found_;
    }
    std::size_t at = search.find_in(lower_text_);
    found_ = at != std::string::npos;
    match_pos_ = found_ ? static_cast<std::int32_t>(at) : -1;
    return found_;
}
