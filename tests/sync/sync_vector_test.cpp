#include "sync/sync_vector.h"

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <cstdio>
#include <ctime>

namespace {

Uuid id_of(int n) {
    char text[37];
    std::snprintf(text, sizeof text, "%08x-0000-4000-8000-000000000000", static_cast<unsigned>(n));
    return uuid_from_text(text);
}

Timestamp at(std::int32_t seconds, std::int32_t sequence = 1) {
    Timestamp t;
    t.seconds = seconds;
    t.sequence = sequence;
    return t;
}

struct Item : SyncStamp {
    std::string text;
    Item(int n, std::int32_t seconds, std::string text_) : text(std::move(text_)) {
        id = id_of(n);
        time = at(seconds);
    }
};

SyncStamp record(int n, std::int32_t seconds) {
    SyncStamp r;
    r.id = id_of(n);
    r.time = at(seconds);
    return r;
}

using List = SyncVector<Item>;

// "<n>:<text>@<seconds>" for each item, and "<n>@<seconds>" for each record: easy to compare.
std::vector<std::string> items_of(const List& list) {
    std::vector<std::string> out;
    for (const Item& item : list.items)
        out.push_back(std::to_string(item.id.data1) + ":" + item.text + "@" + std::to_string(item.time.seconds));
    return out;
}

std::vector<std::string> records_of(const List& list) {
    std::vector<std::string> out;
    for (const SyncStamp& r : list.deleted) out.push_back(std::to_string(r.id.data1) + "@" + std::to_string(r.time.seconds));
    return out;
}

using ::testing::ElementsAre;
using ::testing::IsEmpty;

TEST(SyncVectorTest, RemoveLeavesARecordStampedAtTheRemoval) {
    List list;
    list.append(Item(1, 10, "one"));
    list.append(Item(2, 10, "two"));
    Timestamp before = Timestamp::now();
    list.remove(0);
    EXPECT_THAT(items_of(list), ElementsAre("2:two@10"));
    ASSERT_EQ(list.deleted.size(), 1u);
    EXPECT_TRUE(uuid_equal(list.deleted[0].id, id_of(1)));
    EXPECT_TRUE(before < list.deleted[0].time);

    list.touch(0);
    EXPECT_TRUE(list.deleted[0].time < list.items[0].time);
}

TEST(SyncVectorTest, EmptyListsStayEmpty) {
    List a, b;
    a.synchronize(b);
    EXPECT_THAT(a.items, IsEmpty());
    EXPECT_THAT(b.items, IsEmpty());
    EXPECT_THAT(a.deleted, IsEmpty());
    EXPECT_THAT(b.deleted, IsEmpty());
}

TEST(SyncVectorTest, ItemsKnownToOneSideEndOnBothInTheFirstSidesOrder) {
    List a, b;
    a.append(Item(1, 10, "a1"));
    a.append(Item(2, 10, "a2"));
    b.append(Item(3, 10, "b3"));
    b.append(Item(2, 10, "a2"));
    b.append(Item(4, 10, "b4"));
    a.synchronize(b);
    EXPECT_THAT(items_of(a), ElementsAre("1:a1@10", "2:a2@10", "3:b3@10", "4:b4@10"));
    EXPECT_THAT(items_of(b), items_of(a));
}

TEST(SyncVectorTest, TheLaterEditWinsAndOnEqualTimesTheFirstSide) {
    List a, b;
    a.append(Item(1, 10, "old"));
    a.append(Item(2, 30, "first side"));
    a.append(Item(3, 20, "first side tie"));
    b.append(Item(3, 20, "second side tie"));
    b.append(Item(2, 25, "second side"));
    b.append(Item(1, 15, "new"));
    a.synchronize(b);
    EXPECT_THAT(items_of(a), ElementsAre("1:new@15", "2:first side@30", "3:first side tie@20"));
    EXPECT_THAT(items_of(b), items_of(a));
}

TEST(SyncVectorTest, ANibChangedAfterItsDeletionComesBack) {
    List a, b;
    a.deleted.push_back(record(1, 10));
    b.append(Item(1, 11, "edited later"));
    a.synchronize(b);
    EXPECT_THAT(items_of(a), ElementsAre("1:edited later@11"));
    EXPECT_THAT(records_of(a), IsEmpty());
    EXPECT_THAT(items_of(b), items_of(a));
    EXPECT_THAT(records_of(b), IsEmpty());
}

TEST(SyncVectorTest, ANibUnchangedSinceItsDeletionIsRemovedAndTheRecordSpreads) {
    List a, b;
    a.append(Item(5, 1, "kept"));
    a.deleted.push_back(record(1, 10));
    b.append(Item(1, 9, "older"));
    b.append(Item(5, 1, "kept"));
    a.synchronize(b);
    EXPECT_THAT(items_of(b), ElementsAre("5:kept@1"));
    EXPECT_THAT(records_of(b), ElementsAre("1@10"));
    EXPECT_THAT(items_of(a), items_of(b));
}

TEST(SyncVectorTest, ADeletionOnBothSidesKeepsOneRecordWithTheLaterTime) {
    List a, b;
    a.deleted.push_back(record(1, 10));
    b.deleted.push_back(record(1, 12));
    a.synchronize(b);
    EXPECT_THAT(records_of(a), ElementsAre("1@12"));
    EXPECT_THAT(records_of(b), ElementsAre("1@12"));
}

TEST(SyncVectorTest, NeighbouringItemsToRemoveAreAllRemoved) {
    List a, b;
    for (int n = 1; n <= 5; ++n) b.append(Item(n, 5, "x"));
    a.deleted.push_back(record(2, 10));
    a.deleted.push_back(record(3, 10));
    a.deleted.push_back(record(5, 10));
    a.synchronize(b);
    EXPECT_THAT(items_of(b), ElementsAre("1:x@5", "4:x@5"));
    EXPECT_THAT(items_of(a), items_of(b));
}

TEST(SyncVectorTest, MergeIntoChangesOnlyTheOtherSide) {
    List a, b;
    a.append(Item(1, 10, "a"));
    b.append(Item(2, 10, "b"));
    b.deleted.push_back(record(3, 10));
    a.merge_into(b);
    EXPECT_THAT(items_of(a), ElementsAre("1:a@10"));
    EXPECT_THAT(records_of(a), IsEmpty());
    EXPECT_THAT(items_of(b), ElementsAre("2:b@10", "1:a@10"));
}

TEST(SyncVectorTest, SynchronisingWithItselfAndAssigningItselfChangeNothing) {
    List a;
    a.append(Item(1, 10, "a"));
    a.deleted.push_back(record(2, 10));
    a.synchronize(a);
    a = *&a;
    EXPECT_THAT(items_of(a), ElementsAre("1:a@10"));
    EXPECT_THAT(records_of(a), ElementsAre("2@10"));
}

TEST(SyncVectorTest, AnIdHeldTwiceOrInBothListsEndsOnceWithItsNewestEntry) {
    List a, b;
    a.append(Item(1, 10, "older copy"));
    a.append(Item(2, 10, "kept"));
    a.append(Item(1, 20, "newer copy"));
    a.deleted.push_back(record(2, 5));   // older than the nib: dropped
    a.deleted.push_back(record(3, 7));
    a.deleted.push_back(record(3, 8));   // the later deletion stays
    b.append(Item(4, 10, "tie"));
    b.deleted.push_back(record(4, 10));  // same time as the nib: the nib stays
    b.append(Item(3, 1, "older than the deletions"));

    List only_b = b;
    a.merge_into(only_b);
    EXPECT_THAT(items_of(only_b), ElementsAre("4:tie@10", "2:kept@10", "1:newer copy@20"));
    EXPECT_THAT(records_of(only_b), ElementsAre("3@8"));

    a.synchronize(b);
    EXPECT_THAT(items_of(a), ElementsAre("2:kept@10", "1:newer copy@20", "4:tie@10"));
    EXPECT_THAT(records_of(a), ElementsAre("3@8"));
    EXPECT_THAT(items_of(b), items_of(a));
    EXPECT_THAT(records_of(b), records_of(a));
}

TEST(SyncVectorTest, PurgeDropsOnlyRecordsOlderThanTheDays) {
    const auto now = static_cast<std::int32_t>(std::time(nullptr));
    List list;
    list.deleted = {record(1, now - 3 * 86400 - 100), record(2, now - 86400), record(3, now - 5 * 86400),
                    record(4, now), record(5, now + 1000)};
    list.purge_deleted(2);
    EXPECT_THAT(records_of(list),
                ElementsAre("2@" + std::to_string(now - 86400), "4@" + std::to_string(now), "5@" + std::to_string(now + 1000)));
}

}  // namespace
