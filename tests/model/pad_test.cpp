#include "model/pad.h"

#include "pad_checks.h"
#include "support/messages.h"

#include <gmock/gmock.h>
#include <gtest/gtest.h>

namespace {

using ::testing::ElementsAre;

Pad pad_with(std::initializer_list<const char*> texts) {
    Pad pad;
    for (const char* text : texts) {
        pad.new_nib();
        pad.set_current_text(text);
    }
    return pad;
}

// Empties the nibs at the given 1-based positions, as a user clearing their text would.
void clear(Pad& pad, std::initializer_list<int> positions) {
    for (int position : positions) {
        pad.go_to(position);
        pad.set_current_text("");
    }
}

std::vector<std::string> texts_of(const Pad& pad) {
    std::vector<std::string> texts;
    for (const Nib& nib : pad.nibs()) texts.push_back(nib.text());
    return texts;
}

TEST(PadTest, NewPadsAndNewNibs) {
    Pad pad;
    EXPECT_EQ(pad.count(), 1);
    EXPECT_EQ(pad.position(), 1);
    EXPECT_EQ(pad.current_text(), "");
    pad.new_nib();  // the empty nib serves as the new one
    EXPECT_EQ(pad.count(), 1);
    pad.set_current_text("one\nmore");
    EXPECT_EQ(pad.current_text(), "one\r\nmore");
    Timestamp stored = pad.nibs()[0].time;
    pad.new_nib();
    pad.new_nib();
    EXPECT_EQ(pad.count(), 2);
    EXPECT_EQ(pad.position(), 2);
    pad.go_to(1);
    pad.set_current_text("changed");
    EXPECT_TRUE(stored < pad.nibs()[0].time);
    EXPECT_TRUE(pad_is_sound(pad));
}

TEST(PadTest, FindFiltersCaseInsensitivelyAndPagesThroughTheFound) {
    Pad pad = pad_with({"fOO bar", "other", "foo", "Food"});
    pad.go_to(3);
    EXPECT_EQ(pad.find("Foo"), 1);
    EXPECT_EQ(pad.found_count(), 3);
    EXPECT_EQ(pad.current_text(), "foo");  // the current nib matches and stays
    EXPECT_EQ(pad.position(), 2);
    pad.previous();
    EXPECT_EQ(pad.current_text(), "fOO bar");
    pad.previous();
    EXPECT_EQ(pad.position(), 1);
    pad.go_to(3);
    EXPECT_EQ(pad.current_text(), "Food");
    pad.next();
    pad.go_to(4);
    pad.go_to(0);
    EXPECT_EQ(pad.current_text(), "Food");
    EXPECT_EQ(pad.find("fOOd"), 1);  // extending the query keeps it, whatever the case typed
    EXPECT_EQ(pad.current_text(), "Food");

    EXPECT_EQ(pad.find("o b"), 1);  // no longer matching: the first match becomes current
    EXPECT_EQ(pad.current_text(), "fOO bar");
    EXPECT_EQ(pad.current_match_pos(), 2);
    EXPECT_EQ(pad.find("o  b"), 0);  // nothing matches: the current nib stays
    EXPECT_EQ(pad.found_count(), 0);
    EXPECT_EQ(pad.current_text(), "fOO bar");
    EXPECT_TRUE(pad_is_sound(pad));
}

TEST(PadTest, FindDropsEmptyNibsButTheLast) {
    Pad pad = pad_with({"a", "b", "c", "d"});
    const std::string first_id = pad.nibs()[0].id_text();
    clear(pad, {1, 3});
    pad.go_to(3);
    pad.find("");
    EXPECT_THAT(texts_of(pad), ElementsAre("b", "d"));
    EXPECT_EQ(pad.current_text(), "b");  // the dropped current nib hands over to the one before it
    ASSERT_EQ(pad.deletions().size(), 2u);
    EXPECT_EQ(pad.deletions()[0].id_text(), first_id);

    clear(pad, {1, 2});
    pad.find("x");
    EXPECT_EQ(pad.count(), 1);
    EXPECT_EQ(pad.deletions().size(), 3u);
    EXPECT_TRUE(pad_is_sound(pad));
}

TEST(PadTest, DeletingShowsTheNibBefore) {
    Pad pad = pad_with({"1", "2", "3", "4", "5"});
    pad.go_to(3);
    pad.delete_current();
    EXPECT_THAT(texts_of(pad), ElementsAre("1", "2", "4", "5"));
    EXPECT_EQ(pad.current_text(), "2");
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

    // Nibs emptied before the deleted one are dropped too; the current index stays in the pad.
    Pad emptied = pad_with({"a", "b", "c", "d", "e"});
    clear(emptied, {2, 3});
    emptied.go_to(5);
    emptied.delete_current();
    EXPECT_THAT(texts_of(emptied), ElementsAre("a", "d"));
    EXPECT_EQ(emptied.current_text(), "d");
    for (const Pad* p : {&pad, &filtered, &emptied}) EXPECT_TRUE(pad_is_sound(*p));
}

TEST(PadTest, DeletingTheOnlyNibLeavesANewEmptyOne) {
    Pad pad = pad_with({"only"});
    const std::string old_id = pad.nibs()[0].id_text();
    pad.delete_current();
    EXPECT_EQ(pad.count(), 1);
    EXPECT_EQ(pad.current_text(), "");
    EXPECT_NE(pad.nibs()[0].id_text(), old_id);
    ASSERT_EQ(pad.deletions().size(), 1u);
    EXPECT_EQ(pad.deletions()[0].id_text(), old_id);
    EXPECT_TRUE(pad_is_sound(pad));
}

TEST(PadTest, MovingAndSortingClearTheFilterAndKeepTheTimes) {
    Pad pad = pad_with({"b", "B", "a", "ab"});
    const Timestamp last_time = pad.nibs()[3].time;
    pad.find("ab");
    pad.move_current(0);
    EXPECT_THAT(texts_of(pad), ElementsAre("ab", "b", "B", "a"));
    EXPECT_EQ(pad.current(), 0);
    EXPECT_EQ(pad.find_text(), "");
    EXPECT_EQ(pad.found_count(), 4);
    EXPECT_EQ(pad.nibs()[0].time, last_time);
    pad.go_to(2);
    pad.move_current(3);
    EXPECT_THAT(texts_of(pad), ElementsAre("ab", "B", "a", "b"));
    EXPECT_EQ(pad.position(), 4);
    pad.move_current(4);
    pad.move_current(-1);
    EXPECT_EQ(pad.current(), 3);

    pad.find("b");
    pad.sort_alphabetically();
    EXPECT_THAT(texts_of(pad), ElementsAre("B", "a", "ab", "b"));
    EXPECT_EQ(pad.current(), 0);
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
    EXPECT_EQ(pad.position(), 2);
    EXPECT_TRUE(pad.deletions().empty());

    EXPECT_THROW(pad.add_nib("new", "not-an-id", "1 2 3"), msg_exception);
    EXPECT_THAT(texts_of(pad), ElementsAre("first", "third"));

    // An empty nib the query did not find is replaced by a found one.
    Pad filtered;
    filtered.find("zzz");
    filtered.add_nib("loaded", "", "");
    EXPECT_EQ(filtered.found_count(), 1);
    EXPECT_EQ(filtered.position(), 1);
    EXPECT_TRUE(pad_is_sound(filtered));
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
        EXPECT_TRUE(pad_is_sound(*pad));
    }

    // Each side deleted the other's nib: the pads keep one new empty nib, the same on both.
    Pad c = pad_with({"x"});
    Pad d = c;
    c.new_nib();
    c.set_current_text("y");
    Pad::synchronise(c, d);
    c.delete_current();
    d.go_to(2);
    d.delete_current();
    Pad::synchronise(c, d);
    EXPECT_EQ(c.count(), 1);
    EXPECT_EQ(c.current_text(), "");
    EXPECT_EQ(c.nibs()[0].id_text(), d.nibs()[0].id_text());
    EXPECT_TRUE(pad_is_sound(c));
}

}  // namespace
