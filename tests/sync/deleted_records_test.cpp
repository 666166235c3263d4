#include "sync/sync_vector.h"

#include "storage/mapfile.h"
#include "support/messages.h"

#include <gtest/gtest.h>

#include <atomic>
#include <ctime>
#include <filesystem>
#include <fstream>

namespace {

struct Item : SyncStamp {};

class DeletedRecordsTest : public ::testing::Test {
protected:
    void SetUp() override {
        static std::atomic<int> serial{0};
        path = (std::filesystem::temp_directory_path() /
                ("scrivel_deleted_" + std::to_string(platform::process_id()) + "_" + std::to_string(++serial) + ".nib"))
                   .string();
    }
    void TearDown() override { std::filesystem::remove(path); }

    void write(const SyncVector<Item>& list) {
        Mapfile file(path, Mapfile::write);
        list.write_deleted(file, "DEL");
        file.close();
    }
    SyncVector<Item> read() {
        SyncVector<Item> list;
        Mapfile file(path, Mapfile::read);
        list.read_deleted(file, "DEL");
        return list;
    }
    void write_raw(const std::string& bytes) { std::ofstream(path, std::ios::binary) << bytes; }
    std::string read_raw() {
        std::ifstream in(path, std::ios::binary);
        return std::string(std::istreambuf_iterator<char>(in), {});
    }

    std::string path;
};

SyncStamp record_aged(std::int32_t days) {
    SyncStamp r;
    r.time.seconds = static_cast<std::int32_t>(std::time(nullptr)) - days * 86400;
    return r;
}

TEST_F(DeletedRecordsTest, RecordsRoundTripThroughTheFileUnderTheirKeys) {
    SyncVector<Item> list;
    list.deleted.push_back(SyncStamp("3c4d5e6f-7a8b-4c9d-8e0f-a1b2c3d4e5f6", "944000200 1400 2"));
    list.deleted.push_back(SyncStamp());
    list.deleted.back().time.sequence = -4;
    write(list);
    const std::string head = "DEL0_ID (36): 3c4d5e6f-7a8b-4c9d-8e0f-a1b2c3d4e5f6\n"
                             "DEL0_TS (16): 944000200 1400 2\n"
                             "DEL1_ID (36): ";
    EXPECT_EQ(read_raw().substr(0, head.size()), head);
    EXPECT_EQ(read().deleted, list.deleted);

    write(SyncVector<Item>());
    EXPECT_EQ(read_raw(), "");
    EXPECT_TRUE(read().deleted.empty());
}

TEST_F(DeletedRecordsTest, ReadingStopsAtTheFirstMissingKey) {
    write_raw("DEL0_ID (36): 3c4d5e6f-7a8b-4c9d-8e0f-a1b2c3d4e5f6\nDEL0_TS (5): 1 2 3\n"
              "DEL2_ID (36): 3c4d5e6f-7a8b-4c9d-8e0f-a1b2c3d4e5f7\nDEL2_TS (5): 4 5 6\n");
    ASSERT_EQ(read().deleted.size(), 1u);

    // An id without its time is not a record.
    write_raw("DEL0_ID (36): 3c4d5e6f-7a8b-4c9d-8e0f-a1b2c3d4e5f6\n");
    EXPECT_TRUE(read().deleted.empty());
}

TEST_F(DeletedRecordsTest, AMalformedIdStopsTheReadingWithTheUnexpectedError) {
    write_raw("DEL0_ID (9): not an id\nDEL0_TS (5): 1 2 3\n");
    try {
        read();
        FAIL() << "a malformed id was accepted";
    } catch (const Mapfile::no_such_key&) {
        FAIL() << "a malformed id ended the list quietly";
    } catch (const msg_exception& error) {
        EXPECT_EQ(error.title, "Unexpected error");
    }
}

TEST_F(DeletedRecordsTest, OnlyALongListLosesItsOldRecordsWhenWritten) {
    SyncVector<Item> list;
    for (int i = 0; i < 200; ++i) list.deleted.push_back(record_aged(i % 4 == 0 ? 101 : 99));
    write(list);
    EXPECT_EQ(read().deleted.size(), 200u);

    list.deleted.push_back(record_aged(0));
    write(list);
    auto kept = read().deleted;
    EXPECT_EQ(kept.size(), 151u);
    for (const SyncStamp& r : kept) EXPECT_LT(static_cast<std::int32_t>(std::time(nullptr)) - r.time.seconds, 100 * 86400);
    // The pad itself keeps its records; only the file is trimmed.
    EXPECT_EQ(list.deleted.size(), 201u);
}

}  // namespace
