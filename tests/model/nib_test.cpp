#include "model/nib.h"

#include "support/messages.h"

#include <gtest/gtest.h>

namespace {

std::string stored(const std::string& text) {
    Nib nib;
    nib.set_text(text);
    return nib.text();
}

TEST(NibTest, NewNibsAreEmptyFoundAndUnmatchedWithTheirOwnIds) {
    Nib a, b("text");
    EXPECT_EQ(a.text(), "");
    EXPECT_EQ(a.found(), 1);
    EXPECT_EQ(a.match_pos(), -1);
    EXPECT_EQ(b.text(), "text");
    EXPECT_FALSE(uuid_equal(a.id, b.id));
    EXPECT_TRUE(a.time < b.time);
}

TEST(NibTest, NibReadBackKeepsItsStoredIdentity) {
    Nib nib("Buy milk", "3c4d5e6f-7a8b-4c9d-8e0f-a1b2c3d4e5f6", "944000200 1400 2");
    EXPECT_EQ(nib.id_text(), "3c4d5e6f-7a8b-4c9d-8e0f-a1b2c3d4e5f6");
    EXPECT_EQ(nib.time_text(), "944000200 1400 2");
    EXPECT_EQ(nib.text(), "Buy milk");
    EXPECT_THROW(Nib("x", "3c4d5e6f", "1 2 3"), msg_exception);
}

TEST(NibTest, LineEndsBecomeCarriageReturnAndLineFeed) {
    EXPECT_EQ(stored("a\nb\n"), "a\r\nb\r\n");
    EXPECT_EQ(stored("a\r\nb"), "a\r\nb");
    EXPECT_EQ(stored("a\rb"), "a\rb");
    EXPECT_EQ(stored("\n\n"), "\r\n\r\n");
    EXPECT_EQ(stored("a\r\r\nb"), "a\r\r\nb");
    EXPECT_EQ(stored("\r"), "\r");
    EXPECT_EQ(stored(std::string("ab\0\ncd", 6)), "ab");
    EXPECT_EQ(stored(std::string("\0x", 2)), "");
}

TEST(NibTest, SettingTheTextLeavesTheTime) {
    Nib nib("before");
    Timestamp time = nib.time;
    nib.set_text("after");
    EXPECT_EQ(nib.time, time);
}

TEST(NibTest, MatchFindsTheWholeQueryCaseInsensitively) {
    Nib nib("Say fOO bar  baz");
    EXPECT_EQ(nib.match("foo"), 1);
    EXPECT_EQ(nib.match_pos(), 4);
    EXPECT_EQ(nib.match("o bar"), 1);
    EXPECT_EQ(nib.match_pos(), 6);
    EXPECT_EQ(nib.match("bar baz"), 0);  // the blanks must stand as in the query
    EXPECT_EQ(nib.found(), 0);
    EXPECT_EQ(nib.match_pos(), -1);
    EXPECT_EQ(nib.match(""), 1);
    EXPECT_EQ(nib.match_pos(), -1);
}

TEST(NibTest, LowerCasingKeepsTheLengthAndMapsTheCodePagesCapitals) {
    Nib nib("\xC9t\xC9 \xD7 \x8A" "ABC!");
    EXPECT_EQ(nib.lower_text(), "\xE9t\xE9 \xD7 \x9A" "abc!");
    EXPECT_EQ(nib.match(lower_case("\xC9T")), 1);
    EXPECT_EQ(nib.match_pos(), 0);
}

TEST(NibTest, NibsSortByUnsignedBytesAPrefixFirst) {
    EXPECT_TRUE(Nib("B") < Nib("a"));
    EXPECT_TRUE(Nib("a") < Nib("ab"));
    EXPECT_TRUE(Nib("z") < Nib("\xE9"));
    EXPECT_FALSE(Nib("ab") < Nib("ab"));
}

}  // namespace
