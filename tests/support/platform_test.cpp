#include "support/platform.h"

#include <gtest/gtest.h>

// Lower-casing follows Windows-1252 byte for byte on every platform.
TEST(Platform, LowerCasesWindows1252ByteForByte) {
    const unsigned char pairs[][2] = {{'A', 'a'},   {'Z', 'z'},   {'a', 'a'},   {'0', '0'}, {0, 0},
                                      {0xC4, 0xE4} /* A umlaut */, {0xD7, 0xD7} /* times */,
                                      {0x8A, 0x9A} /* S caron */,  {0xDF, 0xDF} /* sharp s */};
    for (const auto& p : pairs) EXPECT_EQ(static_cast<unsigned char>(platform::to_lower(static_cast<char>(p[0]))), p[1]) << +p[0];
}
