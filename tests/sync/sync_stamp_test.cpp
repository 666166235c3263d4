#include "sync/sync_stamp.h"

#include "support/messages.h"

#include <gtest/gtest.h>

#include <regex>
#include <set>

namespace {

bool is_uuid_text(const std::string& text) {
    static const std::regex form("[0-9a-f]{8}-[0-9a-f]{4}-[0-9a-f]{4}-[0-9a-f]{4}-[0-9a-f]{12}");
    return std::regex_match(text, form);
}

TEST(UuidTest, NewIdsAreDistinctVersionFourIdsInLowerCaseText) {
    std::set<std::string> seen;
    for (int i = 0; i < 2000; ++i) {
        std::string text = uuid_to_text(new_uuid());
        EXPECT_TRUE(is_uuid_text(text)) << text;
        EXPECT_EQ(text[14], '4') << text;
        EXPECT_NE(std::string("89ab").find(text[19]), std::string::npos) << text;
        EXPECT_TRUE(seen.insert(text).second) << "repeated " << text;
    }
}

TEST(UuidTest, TextRoundTripsAndEitherCaseReads) {
    Uuid id = new_uuid();
    EXPECT_TRUE(uuid_equal(uuid_from_text(uuid_to_text(id)), id));

    Uuid fixed = uuid_from_text("3c4d5e6f-7a8b-4c9d-8e0f-a1b2c3d4e5f6");
    EXPECT_EQ(fixed.data1, 0x3c4d5e6fu);
    EXPECT_EQ(fixed.data2, 0x7a8b);
    EXPECT_EQ(fixed.data3, 0x4c9d);
    EXPECT_EQ(fixed.data4[0], 0x8e);
    EXPECT_EQ(fixed.data4[7], 0xf6);
    EXPECT_EQ(uuid_to_text(fixed), "3c4d5e6f-7a8b-4c9d-8e0f-a1b2c3d4e5f6");
    EXPECT_TRUE(uuid_equal(uuid_from_text("3C4D5E6F-7A8B-4C9D-8E0F-A1B2C3D4E5F6"), fixed));
}

TEST(UuidTest, MalformedTextRaisesTheUnexpectedError) {
    const std::string bad[] = {
        "",
        "3c4d5e6f-7a8b-4c9d-8e0f-a1b2c3d4e5f",     // one digit short
        "3c4d5e6f-7a8b-4c9d-8e0f-a1b2c3d4e5f60",   // one too many
        "3c4d5e6f-7a8b-4c9d-8e0f-a1b2c3d4e5g6",    // not hexadecimal
        "3c4d5e6f07a8b-4c9d-8e0f-a1b2c3d4e5f6",    // hyphen missing
        "{3c4d5e6f-7a8b-4c9d-8e0f-a1b2c3d4e5f6}",  // braces
        std::string("3c4d5e6f-7a8b-4c9d-8e0f-a1b2c3d4\0e5f", 36),
    };
    for (const std::string& text : bad) {
        try {
            uuid_from_text(text);
            ADD_FAILURE() << "accepted " << text;
        } catch (const msg_exception& error) {
            EXPECT_EQ(error.title, "Unexpected error");
            EXPECT_EQ(error.text.rfind("An unexpected error: ", 0), 0u) << error.text;
        }
    }
}

TEST(UuidTest, OrderIsFirstFieldThenTheShortFieldsThenTheBytesUnsigned) {
    auto id = [](const char* text) { return uuid_from_text(text); };
    EXPECT_TRUE(uuid_less(id("00000000-ffff-ffff-ffff-ffffffffffff"), id("00000001-0000-0000-0000-000000000000")));
    EXPECT_TRUE(uuid_less(id("00000001-0000-ffff-ffff-ffffffffffff"), id("00000001-0001-0000-0000-000000000000")));
    EXPECT_TRUE(uuid_less(id("00000001-0001-0000-ffff-ffffffffffff"), id("00000001-0001-0001-0000-000000000000")));
    EXPECT_TRUE(uuid_less(id("00000001-0001-0001-7f00-000000000000"), id("00000001-0001-0001-8000-000000000000")));
    EXPECT_TRUE(uuid_less(id("00000001-0001-0001-0000-0000000000fe"), id("00000001-0001-0001-0000-0000000000ff")));
    // The first field is a number, not bytes in memory order.
    EXPECT_TRUE(uuid_less(id("000000ff-0000-0000-0000-000000000000"), id("00000100-0000-0000-0000-000000000000")));
    Uuid same = id("3c4d5e6f-7a8b-4c9d-8e0f-a1b2c3d4e5f6");
    EXPECT_FALSE(uuid_less(same, same));
    EXPECT_TRUE(uuid_equal(same, id("3c4d5e6f-7a8b-4c9d-8e0f-a1b2c3d4e5f6")));
}

TEST(UuidTest, LocallyBuiltIdsDifferFromEachOther) {
    Uuid first{}, second{};
    build_local_uuid(first);
    build_local_uuid(second);
    EXPECT_FALSE(uuid_equal(first, second));
    EXPECT_TRUE(is_uuid_text(uuid_to_text(first)));
}

TEST(SyncStampTest, NewStampsAreNewAndStoredStampsReadBackEqual) {
    Timestamp before = Timestamp::now();
    SyncStamp first, second;
    EXPECT_FALSE(uuid_equal(first.id, second.id));
    EXPECT_TRUE(before < first.time);
    EXPECT_TRUE(first.time < second.time);
    EXPECT_EQ(SyncStamp(first.id_text(), first.time_text()), first);

    SyncStamp example("3c4d5e6f-7a8b-4c9d-8e0f-a1b2c3d4e5f6", "944000200 1400 2");
    EXPECT_EQ(example.id_text(), "3c4d5e6f-7a8b-4c9d-8e0f-a1b2c3d4e5f6");
    EXPECT_EQ(example.time_text(), "944000200 1400 2");
}

}  // namespace
