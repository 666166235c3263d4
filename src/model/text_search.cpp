#include "model/text_search.h"

#include "model/case_fold.h"

#include <algorithm>
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
constexpr std::size_t npos = std::string::npos;

std::uint64_t load8(const char* at) {
    std::uint64_t word;
    std::memcpy(&word, at, sizeof word);
    return word;
}

// A high bit in every byte that is zero. A byte just above a zero byte may be marked as well;
// the caller checks each mark, so that costs only a comparison.
std::uint64_t zero_bytes(std::uint64_t word) { return (word - ones) & ~word & highs; }

}  // namespace

TextSearch::TextSearch(std::string lower_query) : query(std::move(lower_query)), lower(lower_table()) {
    auto rarer = [&](std::size_t a, std::size_t b) {
        return commonness[static_cast<unsigned char>(query[a])] < commonness[static_cast<unsigned char>(query[b])];
    };
    std::size_t rare_place = 0;
    for (std::size_t i = 1; i < query.size(); ++i)
        if (rarer(i, rare_place)) rare_place = i;
    std::size_t second_place = rare_place == 0 && query.size() > 1 ? 1 : 0;
    for (std::size_t i = 0; i < query.size(); ++i)
        if (i != rare_place && rarer(i, second_place)) second_place = i;
    if (query.empty()) return;
    rare = cased(rare_place);
    second = cased(second_place);
    // A byte with many cases is scanned for more cheaply by the filter of find_pair.
    scan_rare = (query.size() < 2 || commonness[static_cast<unsigned char>(query[rare_place])] <= seldom) &&
                rare.form_count <= rare.forms.size();
}

TextSearch::Cased TextSearch::cased(std::size_t place) const {
    Cased result;
    result.place = place;
    const unsigned char wanted = static_cast<unsigned char>(query[place]);
    for (int b = 0; b < 256; ++b) {
        if (lower[b] != wanted) continue;
        if (result.form_count < result.forms.size()) result.forms[result.form_count] = static_cast<char>(b);
        ++result.form_count;
        result.mask |= static_cast<unsigned char>(b ^ wanted);
    }
    result.value = wanted | result.mask;
    return result;
}

bool TextSearch::matches_at(const char* start) const {
    for (std::size_t i = 0; i < query.size(); ++i)
        if (lower[static_cast<unsigned char>(start[i])] != static_cast<unsigned char>(query[i])) return false;
    return true;
}

std::size_t TextSearch::find_in(std::string_view text) const {
    if (query.empty()) return 0;
    if (query.size() > text.size()) return npos;
    return scan_rare ? find_rare(text) : find_pair(text);
}

// Every occurrence has one of the rare byte's cases at its start + place; those places, in
// order, are the only candidates, so the first that matches is the first occurrence. Each case
// is found by its own memchr, which leaves the others where they stood.
std::size_t TextSearch::find_rare(std::string_view text) const {
    const char* const base = text.data();
    const std::size_t last = text.size() - query.size() + rare.place;  // the last place the byte can stand
    auto seek = [&](std::size_t form, std::size_t from) {
        if (from > last) return npos;
        const void* hit = std::memchr(base + from, rare.forms[form], last - from + 1);
        return hit ? static_cast<std::size_t>(static_cast<const char*>(hit) - base) : npos;
    };
    std::array<std::size_t, 4> next{npos, npos, npos, npos};
    for (std::size_t form = 0; form < rare.form_count; ++form) next[form] = seek(form, rare.place);
    for (;;) {
        const std::size_t form = static_cast<std::size_t>(std::min_element(next.begin(), next.end()) - next.begin());
        const std::size_t place = next[form];
        if (place == npos) return npos;
        if (matches_at(base + place - rare.place)) return place - rare.place;
        next[form] = seek(form, place + 1);
    }
}

// Eight starts at a time, keeping those where both chosen bytes of the query may stand in
// either case.
std::size_t TextSearch::find_pair(std::string_view text) const {
    const char* const base = text.data();
    const std::size_t starts = text.size() - query.size() + 1;
    std::size_t start = 0;
    if constexpr (std::endian::native == std::endian::little) {
        const std::uint64_t rare_mask = ones * rare.mask, rare_value = ones * rare.value;
        const std::uint64_t second_mask = ones * second.mask, second_value = ones * second.value;
        for (; start + 8 <= starts; start += 8) {
            const std::uint64_t differ = ((load8(base + start + rare.place) | rare_mask) ^ rare_value) |
                                         ((load8(base + start + second.place) | second_mask) ^ second_value);
            for (std::uint64_t marks = zero_bytes(differ); marks != 0; marks &= marks - 1) {
                const std::size_t candidate = start + static_cast<std::size_t>(std::countr_zero(marks)) / 8;
                if (matches_at(base + candidate)) return candidate;
            }
        }
    }
    auto may_be = [&](const Cased& byte, std::size_t at) {
        return (static_cast<unsigned char>(base[at + byte.place]) | byte.mask) == byte.value;
    };
    for (; start < starts; ++start)
        if (may_be(rare, start) && may_be(second, start) && matches_at(base + start)) return start;
    return npos;
}
