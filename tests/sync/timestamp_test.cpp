#include "sync/timestamp.h"

#include <gtest/gtest.h>

#include <climits>

namespace {

Timestamp stamp(std::int32_t seconds, std::int32_t millis, std::int32_t sequence) {
    Timestamp t;
    t.seconds = seconds;
    t.millis = millis;
    t.sequence = sequence;
    return t;
}

TEST(TimestampTest, StampsOfOneMillisecondCountUpAndEveryStampIsLaterThanTheLast) {
    Timestamp previous = Timestamp::now();
    bool saw_same_millis = false, saw_new_millis = false;
    for (int i = 0; i < 200000 && !(saw_same_millis && saw_new_millis); ++i) {
        Timestamp next = Timestamp::now();
        EXPECT_TRUE(previous < next);
        if (next.millis == previous.millis) {
            EXPECT_EQ(next.sequence, previous.sequence + 1);
            saw_same_millis = true;
        } else {
            EXPECT_EQ(next.sequence, 1);
            saw_new_millis = true;
        }
        previous = next;
    }
    EXPECT_TRUE(saw_same_millis);
    EXPECT_TRUE(saw_new_millis);
}

TEST(TimestampTest, OrderIsByFieldsInTurnSigned) {
    EXPECT_TRUE(stamp(5, 0, 9) < stamp(5, 1, 1));
    EXPECT_FALSE(stamp(5, 1, 1) < stamp(5, 1, 1));
    EXPECT_TRUE(stamp(4, 999, 999) < stamp(5, 0, 0));
    EXPECT_TRUE(stamp(5, 1, 1) < stamp(5, 1, 2));
    EXPECT_TRUE(stamp(-1, 0, 0) < stamp(0, 0, 0));
    EXPECT_FALSE(stamp(6, 0, 0) < stamp(5, 9, 9));
}

TEST(TimestampTest, TextRoundTripsEveryValue) {
    for (Timestamp t : {stamp(944000200, 1400, 2), stamp(-5, -1, 0), stamp(INT_MIN, INT_MAX, INT_MIN)}) {
        EXPECT_EQ(Timestamp::from_text(t.to_text()), t) << t.to_text();
    }
    EXPECT_EQ(stamp(944000200, 1400, 2).to_text(), "944000200 1400 2");
    EXPECT_EQ(stamp(-3, 0, -7).to_text(), "-3 0 -7");
}

TEST(TimestampTest, ReadingFollowsTheScanNotationAndMissingNumbersReadAsZero) {
    EXPECT_EQ(Timestamp::from_text("0x10 010 -5"), stamp(16, 8, -5));
    EXPECT_EQ(Timestamp::from_text("  7\t8\n9 trailing"), stamp(7, 8, 9));
    EXPECT_EQ(Timestamp::from_text("7"), stamp(7, 0, 0));
    EXPECT_EQ(Timestamp::from_text("7 x 9"), stamp(7, 0, 0));
    EXPECT_EQ(Timestamp::from_text(""), stamp(0, 0, 0));
    EXPECT_EQ(Timestamp::from_text("garbage"), stamp(0, 0, 0));
    EXPECT_EQ(Timestamp::from_text("99999999999 -99999999999 1"), stamp(INT_MAX, INT_MIN, 1));
}

}  // namespace
