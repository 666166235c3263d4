#include "model/nib.h"

#include <gtest/gtest.h>

namespace {

TEST(NibTest, LineEndsBecomeCarriageReturnAndLineFeedUpToAZeroByte) {
    const std::string cases[][2] = {
        {"a\nb\n", "a\r\nb\r\n"}, {"a\r\nb", "a\r\nb"}, {"a\rb", "a\rb"}, {"\n\n", "\r\n\r\n"},
        {std::string("ab\0\ncd", 6), "ab"}, {std::string("\0x", 2), ""},
    };
    Nib nib("before");
    for (const auto& c : cases) {
        nib.set_text(c[0]);
        EXPECT_EQ(nib.text(), c[1]);
    }
}

TEST(NibTest, MatchFindsTheWholeQueryCaseInsensitivelyInTheCodePage) {
    Nib nib("Say fOO bar  baz \xC9t\xC9 \xD7 \x8A");
    const struct {
        std::string query;
        std::int32_t found, pos;
    } cases[] = {{"foo", 1, 4}, {"o bar", 1, 6}, {"bar baz", 0, -1}, {"", 1, -1}, {lower_case("\xC9T"), 1, 17}, {"\xd7 \x9a", 1, 21}};
    for (const auto& c : cases) {
        EXPECT_EQ(nib.match(c.query), c.found) << c.query;
        EXPECT_EQ(nib.found(), c.found);
        EXPECT_EQ(nib.match_pos(), c.pos) << c.query;
    }
}

}  // namespace
