#include "model/text_search.h"

#include <gtest/gtest.h>

#include <random>

namespace {

// Both ways of scanning (for a seldom byte, and for two common ones) against the plain search,
// on texts of a small alphabet so that near misses abound.
TEST(TextSearchTest, FindsTheFirstOccurrenceLikeThePlainSearch) {
    std::mt19937 rng(5);
    const std::string alphabets[] = {"ab", "et a", "xqz e", std::string("a\0\x80\xff", 4), "e"};
    for (int round = 0; round < 20000; ++round) {
        const std::string& alphabet = alphabets[round % 5];
        std::string text(rng() % 40, ' '), query(rng() % 6, ' ');
        for (char& c : text) c = alphabet[rng() % alphabet.size()];
        for (char& c : query) c = alphabet[rng() % alphabet.size()];
        if (round % 3 == 0 && query.size() <= text.size()) text.replace(rng() % (text.size() - query.size() + 1), query.size(), query);
        ASSERT_EQ(TextSearch(query).find_in(text), text.find(query)) << "query \"" << query << "\" in \"" << text << "\"";
    }
}

}  // namespace
