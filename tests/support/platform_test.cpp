#include "support/platform.h"

#include <gtest/gtest.h>

// Lower-casing follows Windows-1252 byte for byte on every platform.
TEST(Platform, LowerCasesWindows1252ByteForByte) {
    EXPECT_EQ(platform::to_lower('A'), 'a');
    EXPECT_EQ(platform::to_lower('Z'), 'z');
    EXPECT_EQ(platform::to_lower('a'), 'a');
    EXPECT_EQ(platform::to_lower('0'), '0');
    EXPECT_EQ(platform::to_lower('\0'), '\0');
    EXPECT_EQ(static_cast<unsigned char>(platform::to_lower('\xC4')), 0xE4u);  // A umlaut
    EXPECT_EQ(static_cast<unsigned char>(platform::to_lower('\xD7')), 0xD7u);  // multiplication sign
    EXPECT_EQ(static_cast<unsigned char>(platform::to_lower('\x8A')), 0x9Au);  // S caron
    EXPECT_EQ(static_cast<unsigned char>(platform::to_lower('\xDF')), 0xDFu);  // sharp s has no capital
    for (int i = 0; i < 256; ++i) {
        char c = static_cast<char>(i);
        EXPECT_EQ(platform::to_lower(platform::to_lower(c)), platform::to_lower(c)) << i;
    }
}
