#include "sync/sync_stamp.h"

#include "mapfile_test_support.h"

#include <gtest/gtest.h>

#include <climits>
#include <regex>

namespace {

TEST(TimestampTest, StampsOfOneMillisecondCountUpAndEveryStampIsLaterThanTheLast) {
    Timestamp previous = Timestamp::now();
    bool saw_same_millis = false, saw_new_millis = false;
    for (int i = 0; i < 200000 && !(saw_same_millis && saw_new_millis); ++i) {
        Timestamp next = Timestamp::now();
        ASSERT_TRUE(previous < next);
        const bool same = next.millis == previous.millis;
        EXPECT_EQ(next.sequence, same ? previous.sequence + 1 : 1);
        (same ? saw_same_millis : saw_new_millis) = true;
        previous = next;
    }
    EXPECT_TRUE(saw_same_millis && saw_new_millis);
}

// Every pair of a list in ascending order compares as their places in the list do.
template <typename T, typename Less>
void expect_ascending(const std::vector<T>& ascending, Less less) {
    for (std::size_t a = 0; a < ascending.size(); ++a)
        for (std::size_t b = 0; b < ascending.size(); ++b) EXPECT_EQ(less(ascending[a], ascending[b]), a < b) << a << " < " << b;
}

TEST(TimestampTest, OrderIsByFieldsInTurnSigned) {
    expect_ascending(std::vector<Timestamp>{{INT_MIN, 5, 5}, {-1, 0, 0}, {4, 999, 999}, {5, 0, 9}, {5, 1, 1}, {5, 1, 2}, {6, 0, 0}},
                     [](const Timestamp& a, const Timestamp& b) { return a < b; });
}

TEST(TimestampTest, TextFormsBothWays) {
    const struct {
        const char* text;
        Timestamp read;
        bool written_alike;
    } cases[] = {
        {"944000200 1400 2", {944000200, 1400, 2}, true}, {"-3 0 -7", {-3, 0, -7}, true},
        {"-2147483648 2147483647 -2147483648", {INT_MIN, INT_MAX, INT_MIN}, true},
        // Reading follows the "%i" scan notation; missing numbers read as 0.
        {"0x10 010 -5", {16, 8, -5}, false}, {"  7\t8\n9 trailing", {7, 8, 9}, false},
        {"7 x 9", {7, 0, 0}, false}, {"garbage", {0, 0, 0}, false},
        {"99999999999 -99999999999 1", {INT_MAX, INT_MIN, 1}, false},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(Timestamp::from_text(c.text), c.read) << c.text;
        EXPECT_TRUE(!c.written_alike || c.read.to_text() == c.text) << c.read.to_text();
    }
}

TEST(UuidTest, NewIdsAreDistinctVersionFourIdsAndTheirTextRoundTrips) {
    const std::regex form("[0-9a-f]{8}-[0-9a-f]{4}-4[0-9a-f]{3}-[89ab][0-9a-f]{3}-[0-9a-f]{12}");
    const Uuid id = new_uuid();
    EXPECT_TRUE(std::regex_match(uuid_to_text(id), form)) << uuid_to_text(id);
    EXPECT_TRUE(uuid_equal(uuid_from_text(uuid_to_text(id)), id));
    EXPECT_FALSE(uuid_equal(new_uuid(), id));
    EXPECT_EQ(uuid_to_text(uuid_from_text("3C4D5E6F-7A8B-4C9D-8E0F-A1B2C3D4E5F6")), "3c4d5e6f-7a8b-4c9d-8e0f-a1b2c3d4e5f6");
    // The fallback when the system makes none.
    Uuid first{}, second{};
    build_local_uuid(first);
    build_local_uuid(second);
    EXPECT_FALSE(uuid_equal(first, second));
}

TEST(UuidTest, MalformedTextRaisesTheUnexpectedError) {
    const std::string bad[] = {
        "", "3c4d5e6f-7a8b-4c9d-8e0f-a1b2c3d4e5f60", "3c4d5e6f-7a8b-4c9d-8e0f-a1b2c3d4e5g6",  // too long, not hexadecimal
        "3c4d5e6f07a8b-4c9d-8e0f-a1b2c3d4e5f6", std::string("3c4d5e6f-7a8b-4c9d-8e0f-a1b2c3d4\0e5f", 36),
    };
    for (const std::string& text : bad)
        EXPECT_EQ(message_line(thrown_by([&] { uuid_from_text(text); })).substr(0, 39),
                  "Unexpected error: An unexpected error: ")
            << text;
}


TEST(UuidTest, OrderIsFirstFieldThenTheShortFieldsThenTheBytesUnsigned) {
    std::vector<Uuid> ascending;
    for (const char* text : {"00000000-ffff-ffff-ffff-ffffffffffff", "000000ff-0000-0000-0000-000000000000",  // a number
                             "00000100-0000-0000-0000-000000000000", "00000100-0000-ffff-ffff-ffffffffffff",
                             "00000100-0001-0000-ffff-ffffffffffff", "00000100-0001-0001-0000-0000000000fe",
                             "00000100-0001-0001-0000-0000000000ff", "00000100-0001-0001-7f00-000000000000",
                             "00000100-0001-0001-8000-000000000000"})
        ascending.push_back(uuid_from_text(text));
    expect_ascending(ascending, uuid_less);
}

}  // namespace
