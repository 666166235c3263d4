#include "model/case_fold.h"
#include "model/text_search.h"

#include <gtest/gtest.h>

#include <random>

namespace {

// Both ways of scanning (for a seldom byte in each of its cases, and for two common ones) against
// the plain search in the lower-cased text, on texts of a small alphabet so that near misses
// abound. The alphabets mix cases, Windows-1252 letters whose capitals sit apart (0x8A/0x9A,
// 0x9F/0xFF) and bytes that have no case.
TEST(TextSearchTest, FindsTheFirstOccurrenceInAnyCaseLikeThePlainSearchInTheLowerCaseText) {
    std::mt19937 rng(5);
    const std::string alphabets[] = {"aB", "eT a", "xQz E", std::string("a\0\x80\xff\x9f", 5), "e", "\x8a\x9a\xd7zZ"};
    constexpr int alphabet_count = sizeof alphabets / sizeof alphabets[0];
    for (int round = 0; round < 30000; ++round) {
        const std::string& alphabet = alphabets[round % alphabet_count];
        std::string text(rng() % 40, ' '), query(rng() % 6, ' ');
        for (char& c : text) c = alphabet[rng() % alphabet.size()];
        for (char& c : query) c = alphabet[rng() % alphabet.size()];
        if (round % 3 == 0 && query.size() <= text.size()) text.replace(rng() % (text.size() - query.size() + 1), query.size(), query);
        const std::string lower_query = lower_case(query);
        ASSERT_EQ(TextSearch(lower_query).find_in(text), lower_case(text).find(lower_query))
            << "query \"" << query << "\" in \"" << text << "\"";
    }
}

}  // namespace
