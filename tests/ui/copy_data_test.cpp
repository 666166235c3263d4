#include "ui/copy_data.h"

#include <gtest/gtest.h>

TEST(CopyDataRecord, TextIsReadOnlyWithinTheRecordsSize) {
    const char bytes[] = {'a', 'b', '\0', 'c', 'd'};
    EXPECT_EQ(copy_data_text(bytes, 5), "ab");
    EXPECT_EQ(copy_data_text(bytes + 3, 2), "cd") << "an unterminated text ends at the record's size";
    EXPECT_EQ(copy_data_text(nullptr, 7), "") << "no data pointer, no text";
    // A record holds its text and the zero after it; an empty text needs none.
    EXPECT_EQ(copy_data_size(""), 0u);
    EXPECT_EQ(copy_data_size("ab"), 3u);
}
