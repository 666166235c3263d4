#include "sync/sync_vector.h"

#include <gtest/gtest.h>

#include <cstdio>
#include <ctime>
#include <sstream>

namespace {

struct Item : SyncStamp {
    std::string text;
};

Uuid id_of(int n) {
    char text[37];
    std::snprintf(text, sizeof text, "%08x-0000-4000-8000-000000000000", static_cast<unsigned>(n));
    return uuid_from_text(text);
}

// Lists written as words: "3:text@10" is item 3 with the text at second 10, "3@10" a deletion
// record; "|" separates the items from the records.
SyncVector<Item> list(const std::string& words) {
    SyncVector<Item> out;
    std::istringstream in(words);
    bool records = false;
    for (std::string word; in >> word;) {
        if (word == "|") {
            records = true;
            continue;
        }
        Item item;
        std::size_t colon = word.find(':'), at = word.find('@');
        item.id = id_of(std::stoi(word));
        item.time = Timestamp();
        item.time.seconds = std::stoi(word.substr(at + 1));
        if (records) {
            out.deleted.push_back(item);
        } else {
            item.text = word.substr(colon + 1, at - colon - 1);
            out.items.push_back(item);
        }
    }
    return out;
}

std::string words(const SyncVector<Item>& list) {
    std::string out;
    for (const Item& item : list.items)
        out += std::to_string(item.id.data1) + ":" + item.text + "@" + std::to_string(item.time.seconds) + " ";
    out += "|";
    for (const SyncStamp& r : list.deleted) out += " " + std::to_string(r.id.data1) + "@" + std::to_string(r.time.seconds);
    return out;
}

TEST(SyncVectorTest, SynchronisingLeavesBothWithTheNewestOfEveryId) {
    struct Case {
        const char* what;
        const char* a;
        const char* b;
        const char* both;
    } cases[] = {
        {"both empty", "|", "|", "|"},
        {"new on either side", "1:a@10 2:b@10 |", "3:c@10 2:b@10 4:d@10 |", "1:a@10 2:b@10 3:c@10 4:d@10 |"},
        {"later edit wins, the first side on equal times", "1:old@10 2:mine@30 3:tieA@20 |",
         "3:tieB@20 2:theirs@25 1:new@15 |", "1:new@15 2:mine@30 3:tieA@20 |"},
        {"changed after the deletion comes back", "| 1@10", "1:edited@11 |", "1:edited@11 |"},
        {"unchanged since the deletion goes", "5:kept@1 | 1@10", "1:older@9 5:kept@1 |", "5:kept@1 | 1@10"},
        {"deleted on both keeps the later record", "| 1@10", "| 1@12", "| 1@12"},
        {"neighbours removed together", "| 2@10 3@10 5@10", "1:x@5 2:x@5 3:x@5 4:x@5 5:x@5 |",
         "1:x@5 4:x@5 | 2@10 3@10 5@10"},
        {"ids held twice or in both lists", "1:older@10 2:kept@10 1:newer@20 | 2@5 3@7 3@8",
         "4:tie@10 3:old@1 | 4@10", "2:kept@10 1:newer@20 4:tie@10 | 3@8"},
    };
    for (const Case& c : cases) {
        SyncVector<Item> a = list(c.a), b = list(c.b);
        a.synchronize(b);
        EXPECT_EQ(words(a), c.both) << c.what;
        EXPECT_EQ(words(b), c.both) << c.what;
    }
}

TEST(SyncVectorTest, MergeIntoChangesOnlyTheOtherSideAndItselfNotAtAll) {
    SyncVector<Item> a = list("1:a@10 1:b@12 |"), b = list("2:b@10 | 3@10");
    a.merge_into(b);
    EXPECT_EQ(words(a), "1:a@10 1:b@12 |");
    EXPECT_EQ(words(b), "2:b@10 1:b@12 | 3@10");

    b.synchronize(b);
    b.merge_into(b);
    b = *&b;
    EXPECT_EQ(words(b), "2:b@10 1:b@12 | 3@10");
}

TEST(SyncVectorTest, RemovingAndTouchingStampTheTimeNow) {
    SyncVector<Item> items = list("1:one@10 2:two@10 |");
    Timestamp before = Timestamp::now();
    items.remove(0);
    ASSERT_EQ(items.deleted.size(), 1u);
    EXPECT_TRUE(uuid_equal(items.deleted[0].id, id_of(1)));
    EXPECT_TRUE(before < items.deleted[0].time);
    items.touch(0);
    EXPECT_TRUE(items.deleted[0].time < items.items[0].time);
    EXPECT_EQ(items.items[0].text, "two");
}

TEST(SyncVectorTest, PurgeDropsOnlyRecordsOlderThanTheDays) {
    const auto now = static_cast<std::int32_t>(std::time(nullptr));
    SyncVector<Item> items;
    for (std::int32_t age : {3 * 86400 + 100, 86400, 5 * 86400, 0, -1000}) {
        SyncStamp record;
        record.time.seconds = now - age;
        items.deleted.push_back(record);
    }
    items.purge_deleted(2);
    ASSERT_EQ(items.deleted.size(), 3u);
    EXPECT_EQ(items.deleted[0].time.seconds, now - 86400);
    EXPECT_EQ(items.deleted[2].time.seconds, now + 1000);
}

}  // namespace
