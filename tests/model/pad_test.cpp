#include "model/pad.h"

#include "pad_checks.h"
#include "support/messages.h"

#include <gmock/gmock.h>
#include <gtest/gtest.h>

namespace {

using ::testing::ElementsAre;
using ::testing::ElementsAreArray;

Pad pad_with(std::initializer_list<const char*> texts) {
    Pad pad;
    for (const char* text : texts) {
        pad.new_nib();
        pad.set_current_text(text);
    }
    return pad;
}

std::vector<std::string> texts_of(const Pad& pad) {
    std::vector<std::string> texts;
    for (const Nib& nib : pad.nibs()) texts.push_back(nib.text());
    return texts;
}

std::vector<std::string> ids_of(const Pad& pad) {
    std::vector<std::string> ids;
    for (const Nib& nib : pad.nibs()) ids.push_back(nib.id_text());
    return ids;
}

TEST(PadTest, ANewPadHasOneEmptyNibAtPositionOneOfOne) {
    Pad pad;
    EXPECT_EQ(pad.count(), 1);
    EXPECT_EQ(pad.found_count(), 1);
    EXPECT_EQ(pad.position(), 1);
    EXPECT_EQ(pad.current_text(), "");
    EXPECT_EQ(pad.current_match_pos(), -1);
    EXPECT_TRUE(pad.deletions().empty());
}

TEST(PadTest, NewNibReusesAnEmptyCurrentNib) {
    Pad pad;
    pad.new_nib();
    EXPECT_EQ(pad.count(), 1);
    pad.set_current_text("one");
    pad.new_nib();
    pad.new_nib();
    EXPECT_EQ(pad.count(), 2);
    EXPECT_EQ(pad.current(), 1);
    EXPECT_EQ(pad.position(), 2);
    EXPECT_TRUE(pad_is_sound(pad));
}

TEST(PadTest, StoringATextStampsTheNib) {
    Pad pad = pad_with({"one"});
    Timestamp before = pad.nibs()[0].time;
    pad.set_current_text("one\nmore");
    EXPECT_EQ(pad.current_text(), "one\r\nmore");
    EXPECT_TRUE(before < pad.nibs()[0].time);
}

TEST(PadTest, FindMatchesCaseInsensitivelyAndKeepsAMatchingCurrentNib) {
    Pad pad = pad_with({"fOO bar", "foo", "other", "Food"});
    pad.go_to(2);
    EXPECT_EQ(pad.find("Foo"), 1);
    EXPECT_EQ(pad.found_count(), 3);
    EXPECT_EQ(pad.current_text(), "foo");
    EXPECT_EQ(pad.position(), 2);
    EXPECT_EQ(pad.find_text(), "Foo");

    EXPECT_EQ(pad.find("FOO B"), 1);  // the current nib no longer matches: the first match becomes current
    EXPECT_EQ(pad.found_count(), 1);
    EXPECT_EQ(pad.current_text(), "fOO bar");
    EXPECT_EQ(pad.current_match_pos(), 0);

    pad.find("fo");
    pad.go_to(3);
    EXPECT_EQ(pad.current_text(), "Food");
    EXPECT_EQ(pad.find("fOOd"), 1);  // extending the query keeps it, whatever the case typed
    EXPECT_EQ(pad.current_text(), "Food");
    EXPECT_TRUE(pad_is_sound(pad));
}

TEST(PadTest, FindWithoutAMatchKeepsTheCurrentNib) {
    Pad pad = pad_with({"one", "two"});
    EXPECT_EQ(pad.find("zzz"), 0);
    EXPECT_EQ(pad.found_count(), 0);
    EXPECT_EQ(pad.current(), 1);
    pad.next();
    pad.previous();
    pad.go_to(1);
    EXPECT_EQ(pad.current(), 1);
    EXPECT_TRUE(pad_is_sound(pad));
}

TEST(PadTest, FindDropsEmptyNibsLeavingDeletionRecords) {
    Pad pad = pad_with({"a", "b", "c"});
    pad.go_to(1);
    pad.set_current_text("");
    pad.go_to(3);
    pad.set_current_text("");
    std::vector<std::string> dropped = {ids_of(pad)[0], ids_of(pad)[2]};
    pad.go_to(2);
    pad.find("");
    EXPECT_THAT(texts_of(pad), ElementsAre("b"));
    ASSERT_EQ(pad.deletions().size(), 2u);
    EXPECT_EQ(pad.deletions()[0].id_text(), dropped[0]);
    EXPECT_EQ(pad.deletions()[1].id_text(), dropped[1]);
    EXPECT_EQ(pad.current(), 0);

    // The last nib stays even when empty.
    pad.set_current_text("");
    pad.find("x");
    EXPECT_EQ(pad.count(), 1);
    EXPECT_EQ(pad.deletions().size(), 2u);
    EXPECT_TRUE(pad_is_sound(pad));
}

TEST(PadTest, DroppingTheCurrentEmptyNibMakesTheOneBeforeItCurrent) {
    Pad pad = pad_with({"a", "b", "c", "d"});
    pad.go_to(3);
    pad.set_current_text("");
    pad.find("");
    EXPECT_EQ(pad.current_text(), "b");

    Pad first = pad_with({"x", "y"});
    first.go_to(1);
    first.set_current_text("");
    first.find("");
    EXPECT_EQ(first.current_text(), "y");
    EXPECT_TRUE(pad_is_sound(first));
}

TEST(PadTest, PagingVisitsOnlyFoundNibsAndStopsAtTheEnds) {
    Pad pad = pad_with({"x1", "y", "x2", "y", "x3"});
    pad.find("x");
    pad.go_to(1);
    EXPECT_EQ(pad.current_text(), "x1");
    pad.previous();
    EXPECT_EQ(pad.current_text(), "x1");
    pad.next();
    EXPECT_EQ(pad.current_text(), "x2");
    pad.next();
    pad.next();
    EXPECT_EQ(pad.current_text(), "x3");
    EXPECT_EQ(pad.position(), 3);
    pad.go_to(2);
    EXPECT_EQ(pad.current_text(), "x2");
    pad.go_to(0);
    pad.go_to(4);
    EXPECT_EQ(pad.current_text(), "x2");
    EXPECT_TRUE(pad_is_sound(pad));
}

TEST(PadTest, DeletingTheOnlyNibLeavesANewEmptyOne) {
    Pad pad = pad_with({"only"});
    std::string old_id = pad.nibs()[0].id_text();
    pad.delete_current();
    EXPECT_EQ(pad.count(), 1);
    EXPECT_EQ(pad.position(), 1);
    EXPECT_EQ(pad.current_text(), "");
    EXPECT_NE(pad.nibs()[0].id_text(), old_id);
    ASSERT_EQ(pad.deletions().size(), 1u);
    EXPECT_EQ(pad.deletions()[0].id_text(), old_id);
    EXPECT_TRUE(pad_is_sound(pad));
}

TEST(PadTest, DeletingShowsTheNibBeforeTheDeletedOne) {
    Pad pad = pad_with({"1", "2", "3", "4", "5"});
    pad.go_to(3);
    pad.delete_current();
    EXPECT_THAT(texts_of(pad), ElementsAre("1", "2", "4", "5"));
    EXPECT_EQ(pad.current_text(), "2");
    EXPECT_EQ(pad.position(), 2);

    pad.go_to(1);
    pad.delete_current();
    EXPECT_EQ(pad.current_text(), "2");

    Pad filtered = pad_with({"x1", "y", "x2", "x3"});
    filtered.find("x");
    filtered.go_to(3);
    filtered.delete_current();
    EXPECT_EQ(filtered.find_text(), "x");
    EXPECT_EQ(filtered.current_text(), "x2");
    EXPECT_EQ(filtered.position(), 2);
    EXPECT_TRUE(pad_is_sound(filtered));
}

TEST(PadTest, DeletingAfterEmptiedNibsKeepsTheCurrentNibInThePad) {
    Pad pad = pad_with({"a", "b", "c", "d"});
    for (int position = 1; position <= 3; ++position) {
        pad.go_to(position);
        pad.set_current_text("");
    }
    pad.go_to(4);
    pad.delete_current();
    EXPECT_EQ(pad.count(), 1);
    EXPECT_EQ(pad.deletions().size(), 3u);
    EXPECT_TRUE(pad_is_sound(pad));

    Pad longer = pad_with({"a", "b", "c", "d", "e"});
    for (int position = 2; position <= 3; ++position) {
        longer.go_to(position);
        longer.set_current_text("");
    }
    longer.go_to(5);
    longer.delete_current();
    EXPECT_THAT(texts_of(longer), ElementsAre("a", "d"));
    EXPECT_EQ(longer.current_text(), "d");
    EXPECT_TRUE(pad_is_sound(longer));
}

TEST(PadTest, MovingPutsTheNibAtTheTargetAndClearsTheFilter) {
    Pad pad = pad_with({"a", "b", "c", "d"});
    std::vector<Timestamp> times;
    for (const Nib& nib : pad.nibs()) times.push_back(nib.time);
    pad.find("d");
    pad.move_current(0);
    EXPECT_THAT(texts_of(pad), ElementsAre("d", "a", "b", "c"));
    EXPECT_EQ(pad.current(), 0);
    EXPECT_EQ(pad.found_count(), 4);
    EXPECT_EQ(pad.find_text(), "");
    EXPECT_EQ(pad.nibs()[0].time, times[3]);

    pad.go_to(2);
    pad.move_current(3);
    EXPECT_THAT(texts_of(pad), ElementsAre("d", "b", "c", "a"));
    EXPECT_EQ(pad.position(), 4);
    pad.move_current(2);
    EXPECT_THAT(texts_of(pad), ElementsAre("d", "b", "a", "c"));
    pad.move_current(4);
    pad.move_current(-1);
    EXPECT_THAT(texts_of(pad), ElementsAre("d", "b", "a", "c"));
    EXPECT_TRUE(pad_is_sound(pad));
}

TEST(PadTest, SortingOrdersByBytesAndMakesTheFirstNibCurrent) {
    Pad pad = pad_with({"b", "B", "a", "ab"});
    pad.find("b");
    pad.sort_alphabetically();
    EXPECT_THAT(texts_of(pad), ElementsAre("B", "a", "ab", "b"));
    EXPECT_EQ(pad.current(), 0);
    EXPECT_EQ(pad.find_text(), "");
    EXPECT_EQ(pad.found_count(), 4);
    EXPECT_TRUE(pad_is_sound(pad));
}

TEST(PadTest, AddedNibsReplaceAnEmptyCurrentNib) {
    Pad pad;
    pad.add_nib("first", "3c4d5e6f-7a8b-4c9d-8e0f-a1b2c3d4e5f6", "944000200 1400 2");
    EXPECT_EQ(pad.count(), 1);
    EXPECT_EQ(pad.nibs()[0].id_text(), "3c4d5e6f-7a8b-4c9d-8e0f-a1b2c3d4e5f6");
    EXPECT_EQ(pad.nibs()[0].time_text(), "944000200 1400 2");
    pad.add_nib("", "3c4d5e6f-7a8b-4c9d-8e0f-a1b2c3d4e5f7", "1 2 3");
    pad.add_nib("third", "3c4d5e6f-7a8b-4c9d-8e0f-a1b2c3d4e5f8", "");
    EXPECT_THAT(texts_of(pad), ElementsAre("first", "third"));
    EXPECT_NE(pad.nibs()[1].id_text(), "3c4d5e6f-7a8b-4c9d-8e0f-a1b2c3d4e5f8");  // no time: a new identity
    EXPECT_EQ(pad.current(), 1);
    EXPECT_EQ(pad.position(), 2);
    EXPECT_TRUE(pad.deletions().empty());
    EXPECT_TRUE(pad_is_sound(pad));
}

TEST(PadTest, AMalformedIdLeavesThePadAsItWas) {
    Pad pad = pad_with({"kept"});
    try {
        pad.add_nib("new", "not-an-id", "1 2 3");
        FAIL() << "a malformed id was accepted";
    } catch (const msg_exception& error) {
        EXPECT_EQ(error.title, "Unexpected error");
    }
    EXPECT_THAT(texts_of(pad), ElementsAre("kept"));
    EXPECT_TRUE(pad_is_sound(pad));
}

TEST(PadTest, AddingOverAnUnfoundEmptyNibCountsTheNewNibAsFound) {
    Pad pad;
    pad.find("zzz");
    ASSERT_EQ(pad.found_count(), 0);
    pad.add_nib("loaded", "", "");
    EXPECT_EQ(pad.found_count(), 1);
    EXPECT_EQ(pad.position(), 1);
    EXPECT_TRUE(pad_is_sound(pad));
}

TEST(PadTest, SynchronisingLeavesBothPadsEqualFromTheFirstNibUnfiltered) {
    Pad a = pad_with({"a1", "a2"});
    Pad b = pad_with({"b1"});
    a.find("a2");
    b.find("zzz");
    Pad::synchronise(a, b);
    for (const Pad* pad : {&a, &b}) {
        EXPECT_THAT(texts_of(*pad), ElementsAre("a1", "a2", "b1"));
        EXPECT_EQ(pad->current(), 0);
        EXPECT_EQ(pad->find_text(), "");
        EXPECT_EQ(pad->found_count(), 3);
        EXPECT_TRUE(pad_is_sound(*pad));
    }
    EXPECT_THAT(ids_of(b), ElementsAreArray(ids_of(a)));
}

}  // namespace
