#include "model/text_search.h"

#include <array>
#include <bit>
#include <cstdint>
#include <cstring>

namespace {

// How common a byte is in notes, from the most common down; any byte not listed counts as rare.
constexpr char by_frequency[] = " etaoinsrhldcumfpgwybvkxjqz\r\n.,";
constexpr std::size_t listed = sizeof by_frequency - 1;
// Bytes from the twentieth listed on turn up seldom enough to scan for them alone.
constexpr unsigned char seldom = listed - 20;

std::array<unsigned char, 256> make_commonness() {
    std::array<unsigned char, 256> commonness{};
    for (std::size_t i = 0; i < listed; ++i)
        commonness[static_cast<unsigned char>(by_frequency[i])] = static_cast<unsigned char>(listed - i);
    return commonness;
}

const std::array<unsigned char, 256> commonness = make_commonness();

constexpr std::uint64_t ones = 0x0101010101010101ULL;
constexpr std::uint64_t highs = 0x8080808080808080ULL;

std::uint64_t load8(const char* at) {
    std::uint64_t word;
    std::memcpy(&word, at, sizeof word);
    return word;
}

// A high bit in every byte that is zero. A byte just above a zero byte may be marked as well;
// the caller checks each mark, so that costs only a comparison.
std::uint64_t zero_bytes(std::uint64_t word) { return (word - ones) & ~word & highs; }

}  // namespace

TextSearch::TextSearch(std::string query_) : query(std::move(query_)) {
    auto rarer = [&](std::size_t a, std::size_t b) {
        return commonness[static_cast<unsigned char>(query[a])] < commonness[static_cast<unsigned char>(query[b])];
    };
    for (std::size_t i = 1; i < query.size(); ++i)
        if (rarer(i, rare)) rare = i;
    second = rare == 0 && query.size() > 1 ? 1 : 0;
    for (std::size_t i = 0; i < query.size(); ++i)
        if (i != rare && rarer(i, second)) second = i;
    rare_is_rare = query.size() < 2 || commonness[static_cast<unsigned char>(query[rare])] <= seldom;
}

bool TextSearch::matches_at(const char* start) const {
    return std::memcmp(start, query.data(), query.size()) == 0;
}

std::size_t TextSearch::find_in(std::string_view text) const {
    if (query.empty()) return 0;
    if (query.size() > text.size()) return std::string::npos;
    return rare_is_rare ? find_rare(text) : find_pair(text);
}

// Every occurrence has the rare byte at its start + rare; those places, in order, are the only
// candidates, so the first that matches is the first occurrence.
std::size_t TextSearch::find_rare(std::string_view text) const {
    const char* const base = text.data();
    const std::size_t last = text.size() - query.size() + rare;  // the last place the byte can stand
    for (std::size_t at = rare; at <= last;) {
        const void* hit = std::memchr(base + at, query[rare], last - at + 1);
        if (!hit) break;
        const std::size_t place = static_cast<std::size_t>(static_cast<const char*>(hit) - base);
        if (matches_at(base + place - rare)) return place - rare;
        at = place + 1;
    }
    return std::string::npos;
}

// For queries of common letters only: eight starts at a time, keeping those where both chosen
// bytes of the query stand.
std::size_t TextSearch::find_pair(std::string_view text) const {
    const char* const base = text.data();
    const std::size_t starts = text.size() - query.size() + 1;
    std::size_t start = 0;
    if constexpr (std::endian::native == std::endian::little) {
        const std::uint64_t want_rare = ones * static_cast<unsigned char>(query[rare]);
        const std::uint64_t want_second = ones * static_cast<unsigned char>(query[second]);
        for (; start + 8 <= starts; start += 8) {
            const std::uint64_t differ =
                (load8(base + start + rare) ^ want_rare) | (load8(base + start + second) ^ want_second);
            for (std::uint64_t marks = zero_bytes(differ); marks != 0; marks &= marks - 1) {
                const std::size_t candidate = start + static_cast<std::size_t>(std::countr_zero(marks)) / 8;
                if (matches_at(base + candidate)) return candidate;
            }
        }
    }
    for (; start < starts; ++start)
        if (base[start + rare] == query[rare] && base[start + second] == query[second] && matches_at(base + start))
            return start;
    return std::string::npos;
}
