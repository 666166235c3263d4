#include "ui/copy_data.h"

#include <gtest/gtest.h>

#include <vector>

TEST(CopyDataRecord, TextIsReadOnlyWithinTheRecordsSize) {
    const char bytes[] = {'a', 'b', '\0', 'c', 'd'};
    EXPECT_EQ(copy_data_text(bytes, 5), "ab");
    EXPECT_EQ(copy_data_text(bytes + 3, 2), "cd") << "an unterminated text ends at the record's size";
    EXPECT_EQ(copy_data_text(bytes, 0), "");
    EXPECT_EQ(copy_data_text(nullptr, 0), "");
    EXPECT_EQ(copy_data_text(nullptr, 7), "") << "no data pointer, no text";

    // A record made for a text reads back as that text, and its bytes lie within the record.
    for (const std::string text : {"", "C:\\pads\\a b.nib", "x"}) {
        std::vector<char> record(text.begin(), text.end());
        record.resize(copy_data_size(text));
        EXPECT_EQ(copy_data_text(record.data(), record.size()), text);
    }
    EXPECT_EQ(copy_data_size(""), 0u);
    EXPECT_EQ(copy_data_size("ab"), 3u);
}
