#include "model/nib.h"

#include "support/platform.h"

#include <array>
#include <cstdint>
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

bool has_lone_line_feed(std::string_view text) {
    for (std::size_t at = text.find('\n'); at != std::string_view::npos; at = text.find('\n', at + 1))
        if (at == 0 || text[at - 1] != '\r') return true;
    return false;
}

// Whether the system lower-cases the bytes below 128 as ASCII does, as every ANSI code page
// should: then eight such bytes can be converted at a time.
bool ascii_lowers_plainly() {
    static const bool plain = [] {
        const auto& table = lower_table();
        for (int c = 0; c < 128; ++c)
            if (table[c] != static_cast<char>(c >= 'A' && c <= 'Z' ? c + 32 : c)) return false;
        return true;
    }();
    return plain;
}

constexpr std::uint64_t ones = 0x0101010101010101ULL;
constexpr std::uint64_t highs = 0x8080808080808080ULL;

// Eight bytes below 128 with 'A' to 'Z' lower-cased: a byte plus 0x3F reaches 0x80 from 'A' on,
// plus 0x25 from just past 'Z' on; no byte carries into the next.
std::uint64_t lower_ascii8(std::uint64_t word) {
    const std::uint64_t upper = (word + ones * (0x80 - 'A')) & ~(word + ones * (0x80 - 'Z' - 1)) & highs;
    return word | upper >> 2;
}

// Writes the lower-case form of `text` over `lower`, reusing its storage.
void lower_into(std::string& lower, std::string_view text) {
    const auto& table = lower_table();
    lower.assign(text);
    char* const bytes = lower.data();
    const std::size_t size = lower.size();
    std::size_t i = 0;
    if (ascii_lowers_plainly()) {
        for (; i + 8 <= size; i += 8) {
            std::uint64_t word;
            std::memcpy(&word, bytes + i, sizeof word);
            if (word & highs) {
                for (std::size_t k = i; k < i + 8; ++k) bytes[k] = table[static_cast<unsigned char>(bytes[k])];
                continue;
            }
            word = lower_ascii8(word);
            std::memcpy(bytes + i, &word, sizeof word);
        }
    }
    for (; i < size; ++i) bytes[i] = table[static_cast<unsigned char>(bytes[i])];
}

}  // namespace

std::string lower_case(const std::string& text) {
    std::string lower;
    lower_into(lower, text);
    return lower;
}

Nib::Nib() = default;

Nib::Nib(std::string_view text) { set_text(text); }

Nib::Nib(std::string_view text, const std::string& id_text, const std::string& time_text)
    : SyncStamp(id_text, time_text), shared_(true) {
    set_text(text);
}

void Nib::set_text(std::string_view text) {
    const void* zero = text.empty() ? nullptr : std::memchr(text.data(), 0, text.size());
    if (zero) text = text.substr(0, static_cast<std::size_t>(static_cast<const char*>(zero) - text.data()));
    if (has_lone_line_feed(text)) {
        std::string result;
        result.reserve(text.size() + text.size() / 16);
        std::size_t run = 0;
        for (std::size_t p = 0; p < text.size(); ++p) {
            if (text[p] == '\n' && (p == 0 || text[p - 1] != '\r')) {
                result.append(text, run, p - run);
                result += '\r';
                run = p;  // the line feed opens the next run
            }
        }
        result.append(text, run);
        text_ = std::move(result);
    } else {
        // Text from a pad file or typed in an edit control already has its line ends in pairs.
        text_.assign(text);
    }
    lower_into(lower_text_, text_);
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
