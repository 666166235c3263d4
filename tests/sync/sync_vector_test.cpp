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

// The deletion records as a pad file stores them, "DEL<i>_ID" and "DEL<i>_TS" (byte for byte in
// padfile_test's worked example). Only a long list loses its old records, and in memory too, so
// that a later synchronisation does not hand them on.
TEST(DeletedRecordsTest, OnlyALongListLosesItsOldRecordsWhenWritten) {
    ScratchFolder folder;
    const std::string path = folder.path("pad.nib");
    const auto records_written = [&](SyncVector<Item>& list) {
        Mapfile out(path, Mapfile::write);
        list.write_deleted(out, "DEL");
        out.close();
        Mapfile in(path, Mapfile::read);
        std::size_t records = 0;
        for (std::string_view key, value; in.next_record(key, value);) records += key.ends_with("_TS");
        return records;
    };
    const auto now = static_cast<std::int32_t>(std::time(nullptr));
    SyncVector<Item> list;
    EXPECT_EQ(records_written(list), 0u);
    for (int i = 0; i < 200; ++i) {
        list.deleted.emplace_back();
        list.deleted.back().time.seconds = now - (i % 4 == 0 ? 101 : 99) * 86400;
    }
    EXPECT_EQ(records_written(list), 200u);

    list.deleted.emplace_back();  // one record more, and a save drops those older than 100 days
    std::vector<SyncStamp> young = list.deleted;
    std::erase_if(young, [&](const SyncStamp& r) { return now - r.time.seconds > 100 * 86400; });
    EXPECT_EQ(young.size(), 151u);
    EXPECT_EQ(records_written(list), 151u);
    EXPECT_EQ(list.deleted, young);
}

}  // namespace
