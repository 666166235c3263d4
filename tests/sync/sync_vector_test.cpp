#include "sync/sync_vector.h"

#include "mapfile_test_support.h"
#include "storage/mapfile.h"

#include <gtest/gtest.h>

#include <ctime>
#include <sstream>

namespace {

struct Item : SyncStamp {
    std::string text;
};

// Lists written as words: "3:text@10" is item 3 with the text at second 10, "3@10" a deletion
// record; "|" separates the items from the records.
SyncVector<Item> list(const std::string& words) {
    SyncVector<Item> out;
    std::istringstream in(words);
    bool records = false;
    for (std::string word; in >> word;) {
        records = records || word == "|";
        if (word == "|") continue;
        Item item;
        const std::size_t colon = word.find(':'), at = word.find('@');
        item.id = {};
        item.id.data1 = static_cast<std::uint32_t>(std::stoi(word));
        item.time = {std::stoi(word.substr(at + 1))};
        item.text = word.substr(colon + 1, at - colon - 1);
        records ? out.deleted.push_back(item) : out.items.push_back(item);
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

// Random histories of whole pads are synchronised in pad_sync_property_test; here the lists
// themselves, with ids held twice as a damaged file may hold them.
TEST(SyncVectorTest, SynchronisingLeavesBothWithTheNewestOfEveryId) {
    struct Case {
        const char* what;
        const char* a;
        const char* b;
        const char* both;
    } cases[] = {
        {"later edit wins, the first side on equal times", "1:old@10 2:mine@30 3:tieA@20 |",
         "3:tieB@20 2:theirs@25 1:new@15 |", "1:new@15 2:mine@30 3:tieA@20 |"},
        {"changed after the deletion comes back", "| 1@10", "1:edited@11 |", "1:edited@11 |"},
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
    EXPECT_EQ(words(b), "2:b@10 1:b@12 | 3@10");
}

// The deletion records in a pad file under "DEL<i>_ID" and "DEL<i>_TS".
class DeletedRecordsTest : public ::testing::Test {
protected:
    void write(SyncVector<Item>& list) {
        Mapfile file(path, Mapfile::write);
        list.write_deleted(file, "DEL");
        file.close();
    }
    std::vector<SyncStamp> read() {
        SyncVector<Item> list;
        Mapfile file(path, Mapfile::read);
        list.read_deleted(file, "DEL");
        return list.deleted;
    }

    ScratchFolder folder;
    const std::string path = folder.path("pad.nib");
};

TEST_F(DeletedRecordsTest, RecordsRoundTripUpToTheFirstMissingKey) {
    SyncVector<Item> list;
    list.deleted = {SyncStamp("3c4d5e6f-7a8b-4c9d-8e0f-a1b2c3d4e5f6", "944000200 1400 2"), SyncStamp()};
    list.deleted.back().time.sequence = -4;
    write(list);
    EXPECT_EQ(read(), list.deleted);
    list.deleted.clear();
    write(list);
    EXPECT_EQ(read_bytes(path), "");

    write_bytes(path, "DEL0_ID (36): 3c4d5e6f-7a8b-4c9d-8e0f-a1b2c3d4e5f6\nDEL0_TS (5): 1 2 3\n"
                      "DEL2_ID (36): 3c4d5e6f-7a8b-4c9d-8e0f-a1b2c3d4e5f7\nDEL2_TS (5): 4 5 6\n"
                      "DEL1_ID (36): 3c4d5e6f-7a8b-4c9d-8e0f-a1b2c3d4e5f8\n");  // an id without its time is no record
    EXPECT_EQ(read().size(), 1u);
    // A malformed id is an error, not the end of the list.
    write_bytes(path, "DEL0_ID (9): not an id\nDEL0_TS (5): 1 2 3\n");
    EXPECT_EQ(thrown_by([&] { read(); }).title, "Unexpected error");
}

TEST_F(DeletedRecordsTest, OnlyALongListLosesItsOldRecordsWhenWritten) {
    const auto now = static_cast<std::int32_t>(std::time(nullptr));
    SyncVector<Item> list;
    for (int i = 0; i < 200; ++i) {
        list.deleted.emplace_back();
        list.deleted.back().time.seconds = now - (i % 4 == 0 ? 101 : 99) * 86400;
    }
    write(list);
    EXPECT_EQ(read(), list.deleted);

    list.deleted.emplace_back();  // one record more, and a save drops those older than 100 days
    std::vector<SyncStamp> young = list.deleted;
    std::erase_if(young, [&](const SyncStamp& r) { return now - r.time.seconds > 100 * 86400; });
    write(list);
    EXPECT_EQ(young.size(), 151u);
    EXPECT_EQ(read(), young);
    EXPECT_EQ(list.deleted, young);  // and from memory, so a later synchronisation does not hand them on
}

}  // namespace
