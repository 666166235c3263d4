#include "storage/mapfile.h"
#include "support/platform.h"

#include "mapfile_test_support.h"

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <cerrno>
#include <cstring>
#include <filesystem>
#include <random>

using ::testing::ElementsAre;
using ::testing::StartsWith;

namespace {

class MapfileWrite : public ::testing::Test {
protected:
    ScratchFolder folder;
    std::string file = folder.path("pad.nib");
};

TEST_F(MapfileWrite, WritesTheExactRecordGrammar) {
    {
        Mapfile map(file, Mapfile::write);
        map.put_int("WIN_LEFT", 100);
        map.put_int("WIN_TOP", 80);
        map.put_int("WIN_WIDTH", 400);
        map.put_int("WIN_HEIGHT", 450);
        map.put("FONT_NAME", "MS Sans Serif");
        map.put_int("FONT_SIZE", 11);
        map.put_int("FILE_VERSION", 1000);
        map.put_int("NNIBS", 2);
        map.put("NIB0", "Hello");
        map.put("ID0", "6f1c2a3e-5b7d-4e21-9a0b-1c2d3e4f5a6b");
        map.put("TMOD0", "944000000 1520 1");
        map.put_buffer("NIB1", "Buy milk", 8);
        map.put("ID1", "0b9d8c7e-6f5a-4b3c-8d2e-1f0a9b8c7d6e");
        map.put("TMOD1", "944000100 9870 1");
        map.put("DEL0_ID", "3c4d5e6f-7a8b-4c9d-8e0f-a1b2c3d4e5f6");
        map.put("DEL0_TS", "944000200 1400 2");
        map.close();
    }
    EXPECT_EQ(read_bytes(file), example_pad);
    EXPECT_THAT(folder.entries(), ElementsAre("pad.nib"));
}

TEST_F(MapfileWrite, TypedValuesEmptyValuesAndRepeatedKeys) {
    {
        Mapfile map(file, Mapfile::write);
        map.put_int("NEG", -2147483647 - 1);
        map.put_double("D", 3.25);
        map.put_double("DNEG", -0.5);
        map.put_double("BIG", 1e20);  // wider than 19 characters
        map.put("EMPTY", "");
        map.put_buffer("NONE", nullptr, 0);
        map.put("K", "first");
        map.put("K", "second");
        map.put("LINES", "a\r\nb\nc\r");
        map.close();
    }
    EXPECT_EQ(read_bytes(file),
              "NEG (11): -2147483648\n"
              "D (19):            3.250000\n"
              "DNEG (19):           -0.500000\n"
              "BIG (28): 100000000000000000000.000000\n"
              "EMPTY (0): \n"
              "NONE (0): \n"
              "K (5): first\n"
              "K (6): second\n"
              "LINES (7): a\r\nb\nc\r\n");
    Mapfile map(file, Mapfile::read);
    EXPECT_EQ(map.get_int("NEG"), -2147483647 - 1);
    EXPECT_DOUBLE_EQ(map.get_double("BIG"), 1e20);
    EXPECT_DOUBLE_EQ(map.get_double("DNEG"), -0.5);
    EXPECT_EQ(map.get("LINES"), "a\r\nb\nc\r");
}

TEST_F(MapfileWrite, RandomRecordsRoundTripAcrossBufferBoundaries) {
    std::mt19937 random(12345);
    std::vector<std::pair<std::string, std::string>> records;
    for (int i = 0; i < 6000; ++i) {
        std::string value(random() % (i == 1500 ? 2'500'000 : 600), '\0');
        for (char& c : value) c = static_cast<char>(random());
        records.emplace_back("R" + std::to_string(i) + std::string(random() % 150, 'x'), value);
    }
    {
        Mapfile map(file, Mapfile::write);
        for (const auto& [key, value] : records) map.put(key, value);
        map.close();
    }
    Mapfile map(file, Mapfile::read);
    std::shuffle(records.begin(), records.end(), random);
    for (const auto& [key, value] : records) ASSERT_EQ(map.get(key), value) << key;
}

TEST_F(MapfileWrite, KeysTheReaderCouldNotFindAreRefusedBeforeWriting) {
    write_bytes(file, example_pad);
    Mapfile map(file, Mapfile::write);
    map.put("GOOD", "1");
    for (const std::string& key : {std::string(), std::string("TWO WORDS"), std::string("TAB\t"),
                                   std::string("LINE\n"), std::string(201, 'k')}) {
        msg_exception e = thrown_by<msg_exception>([&] { map.put(key, "x"); });
        EXPECT_EQ(e.title, "Unexpected error") << key;
    }
    EXPECT_EQ(thrown_by<msg_exception>([&] { map.put_buffer("NEGATIVE", "abc", -1); }).title, "Unexpected error");
    map.put(std::string(200, 'k'), "2");
    map.close();
    EXPECT_EQ(read_bytes(file), "GOOD (1): 1\n" + std::string(200, 'k') + " (1): 2\n");
}

TEST_F(MapfileWrite, OldFileStaysUntilCloseAndAnAbandonedWriterLeavesNoTrace) {
    write_bytes(file, example_pad);
    try {
        Mapfile map(file, Mapfile::write);
        map.put("NNIBS", "1");
        map.put("NIB0", std::string(3'000'000, 'x'));  // past the writer's buffer: on disk already
        EXPECT_EQ(read_bytes(file), example_pad);
        throw std::runtime_error("save abandoned");
    } catch (const std::runtime_error&) {
    }
    EXPECT_EQ(read_bytes(file), example_pad);
    EXPECT_THAT(folder.entries(), ElementsAre("pad.nib"));

    Mapfile map(file, Mapfile::write);
    map.put("NNIBS", "0");
    EXPECT_EQ(read_bytes(file), example_pad);
    map.close();
    EXPECT_EQ(read_bytes(file), "NNIBS (1): 0\n");
    EXPECT_THAT(folder.entries(), ElementsAre("pad.nib"));
    EXPECT_EQ(thrown_by<msg_exception>([&] { map.put("A", "b"); }).text, "File not open for writing.");
    map.close();  // a second close does nothing
}

TEST_F(MapfileWrite, NewFileAppearsOnlyOnClose) {
    {
        Mapfile map(file, Mapfile::write);
        map.put("A", "b");
    }
    EXPECT_TRUE(folder.entries().empty());
    Mapfile map(file, Mapfile::write);
    map.put("A", "b");
    map.close();
    EXPECT_EQ(read_bytes(file), "A (1): b\n");
}

TEST_F(MapfileWrite, MissingFolderCannotBeSaved) {
    const std::string target = folder.path("missing") + "/pad.nib";
    msg_exception e = thrown_by<Mapfile::file_error>([&] { Mapfile map(target, Mapfile::write); });
    EXPECT_EQ(e.text, "Could not save file " + target + ": " + std::strerror(ENOENT));
    EXPECT_EQ(e.title, "Could not save file");
    EXPECT_EQ(e.style, 16u);
}

TEST_F(MapfileWrite, FolderInTheTargetsPlaceCannotBeSaved) {
    std::filesystem::create_directory(file);
    msg_exception e = thrown_by<Mapfile::file_error>([&] { Mapfile map(file, Mapfile::write); });
    EXPECT_THAT(e.text, StartsWith("Could not save file " + file + ": "));
    EXPECT_EQ(e.title, "Could not save file");
    EXPECT_THAT(folder.entries(), ElementsAre("pad.nib"));
}

TEST_F(MapfileWrite, ReadOnlyTargetIsRefusedAndKept) {
    write_bytes(file, example_pad);
    std::filesystem::permissions(file, std::filesystem::perms::owner_write | std::filesystem::perms::group_write |
                                           std::filesystem::perms::others_write,
                                 std::filesystem::perm_options::remove);
    if (platform::file_writable(file)) GTEST_SKIP() << "this user may write read-only files";
    msg_exception e = thrown_by<Mapfile::file_error>([&] { Mapfile map(file, Mapfile::write); });
    EXPECT_EQ(e.text, "Could not save file " + file + ": " + std::strerror(EACCES));
    EXPECT_EQ(e.title, "Could not save file");
    EXPECT_EQ(read_bytes(file), example_pad);
    EXPECT_THAT(folder.entries(), ElementsAre("pad.nib"));
}

TEST_F(MapfileWrite, FailureToReplaceTheTargetIsReportedAndCleanedUp) {
    Mapfile map(file, Mapfile::write);
    map.put("A", "b");
    // Something else takes the target's place while the save runs.
    std::filesystem::create_directory(file);
    write_bytes(folder.path("pad.nib/inside"), "x");
    msg_exception e = thrown_by<Mapfile::file_error>([&] { map.close(); });
    EXPECT_THAT(e.text, StartsWith("Error while writing to " + file + ": "));
    EXPECT_GT(e.text.size(), ("Error while writing to " + file + ": ").size());
    EXPECT_EQ(e.title, "Could not save file");
    EXPECT_EQ(e.style, 16u);
    EXPECT_THAT(folder.entries(), ElementsAre("pad.nib"));
    EXPECT_EQ(read_bytes(folder.path("pad.nib/inside")), "x");
}

TEST_F(MapfileWrite, ReadingOperationsAreRefused) {
    Mapfile map(file, Mapfile::write);
    msg_exception e = thrown_by<msg_exception>([&] { map.get("A"); });
    EXPECT_EQ(e.text, "File not open for reading.");
    EXPECT_EQ(e.title, "Error");
    EXPECT_EQ(e.style, 48u);
    EXPECT_EQ(thrown_by<msg_exception>([&] { map.get_buffer("A", nullptr, 0); }).text, "File not open for reading.");
    EXPECT_EQ(thrown_by<msg_exception>([&] { map.commit(); }).text, "File not open for updating.");
    EXPECT_EQ(thrown_by<msg_exception>([&] { map.remove("A"); }).text, "File not open for updating.");
}

}  // namespace
