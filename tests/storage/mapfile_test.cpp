#include "storage/mapfile.h"
#include "support/platform.h"

#include "mapfile_test_support.h"

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <cerrno>
#include <cstring>
#include <random>
#include <functional>

using ::testing::ElementsAre;

namespace {

class MapfileTest : public ::testing::Test {
protected:
    std::unique_ptr<Mapfile> open_with(const std::string& bytes, int mode = Mapfile::read) {
        write_bytes(file, bytes);
        return std::make_unique<Mapfile>(file, mode);
    }
    std::string format_error(const char* title = "Could not open file") {
        return std::string(title) + ": Error reading file " + file + ": File does not match format. (16)";
    }
    void expect_only_the_file(const std::string& bytes) {
        EXPECT_EQ(read_bytes(file), bytes);
        EXPECT_THAT(folder.entries(), ElementsAre("pad.nib"));
    }

    ScratchFolder folder;
    std::string file = folder.path("pad.nib");
};

TEST_F(MapfileTest, ReadsEveryHeadFormInAnyOrder) {
    struct Record {
        std::string bytes, key, value;
    };
    std::vector<Record> records{
        {"\r\n\n  \tA (3): one\r\n", "A", "one"},  // white space before the key, CR LF after the value
        {"B\t\t(3):\r\ntwo\r\n", "B", "two"},      // CR LF instead of the blank: both bytes skipped
        {"C (2):\rxy\n", "C", "xy"},               // a lone CR, as any byte, is the one skipped
        {"E\n(  3): abc\n", "E", "abc"},           // white space before "(" and before the length
        {"F (010): 12345678\n", "F", "12345678"},  // octal
        {"G (0x0A): 0123456789\n", "G", "0123456789"},
        {"H (0XB): 0123456789a\n", "H", "0123456789a"},
        {"I (+2): ok\n", "I", "ok"},
        {"J (-0): \n", "J", ""},
        {"K (0):\n", "K", ""},  // the skipped byte is the line feed itself
        {std::string(200, 'k') + " (2): ok\n", std::string(200, 'k'), "ok"},
    };
    std::string bytes;
    for (const Record& r : records) bytes += r.bytes;
    auto map = open_with(bytes);
    for (auto r = records.rbegin(); r != records.rend(); ++r) EXPECT_EQ(map->get(r->key), r->value) << r->bytes;
    map = open_with(bytes);
    for (const Record& r : records) EXPECT_EQ(map->get(r.key), r.value) << r.bytes;
    EXPECT_EQ(message_line(thrown_by<Mapfile::no_such_key>([&] { map->get("NNIBS"); })),
              "Unknown key: Could not find the key: NNIBS (48)");
    EXPECT_THROW(map->get("a"), Mapfile::no_such_key);  // keys match case-sensitively
    for (const char* nothing : {"", " \r\n\t\n"}) EXPECT_THROW(open_with(nothing)->get("NNIBS"), Mapfile::no_such_key);
}

// What follows a record is a format error, which stays one while what was read before stays
// readable, or a head cut off before its length, which ends the file as if it were not there.
TEST_F(MapfileTest, BytesThatAreNotRecordsAreFormatErrorsOrEndTheFile) {
    const std::vector<std::string> broken{
        "A 1): x\n", "A (1) : x\n", "A (1 ): x\n", "A (1)x\n", "A (): x\n", "A (x1): x\n",
        "A (0x): x\n", "A (08): 12345678\n", "A(1): x\n", "(1): x\n",  // broken heads
        "A (-1): x\n", "A (-2147483648): x\n", "A (99999999999999999999): x\n",
        "A (2147483647): x\n", "A (0x7fffffff): x\n",  // far past the end: no huge allocation either
        "A (10): short\n", "B (3):", "B (3",               // the value runs past the end
        std::string(201, 'k') + " (2): ok\n", std::string(5000, 'k') + " (2): ok\n"};
    const std::vector<std::string> cut{"B", "B \r\n", "B (", "B ( ", "B (-", "B (0x", "\x1a", "stray\n", std::string(200, 'k')};
    for (const auto& [tails, is_broken] : {std::pair{broken, true}, {cut, false}})
        for (const std::string& tail : tails) {
            auto map = open_with("A (1): x\n" + tail);
            for (const char* key : {"WANTED", "AGAIN"}) {
                if (is_broken)
                    EXPECT_EQ(message_line(thrown_by<Mapfile::file_error>([&] { map->get(key); })), format_error()) << tail;
                else
                    EXPECT_THROW(map->get(key), Mapfile::no_such_key) << tail;
            }
            EXPECT_EQ(map->get("A"), "x");
        }
}

TEST_F(MapfileTest, TypedReadsAreLenientAndBuffersGetOnlyWhatFits) {
    auto map = open_with("I1 (7):   -42ab\nI2 (3): abc\nI3 (11): 99999999999\nI4 (4): +7 8\n"
                         "D1 (19):            3.250000\nD2 (5): -1e3x\nD3 (1): x\n");
    const std::pair<const char*, int> ints[] = {{"I1", -42}, {"I2", 0}, {"I3", 2147483647}, {"I4", 7}};
    for (const auto& [key, value] : ints) EXPECT_EQ(map->get_int(key), value) << key;
    const std::pair<const char*, double> doubles[] = {{"D1", 3.25}, {"D2", -1000.0}, {"D3", 0.0}};
    for (const auto& [key, value] : doubles) EXPECT_DOUBLE_EQ(map->get_double(key), value) << key;
    char buffer[8] = "-------";  // filled only when the value fits, with no terminating zero
    EXPECT_EQ(map->get_buffer("I1", nullptr, 100), 7);
    EXPECT_EQ(map->get_buffer("D2", buffer, 4), 5);
    EXPECT_STREQ(buffer, "-------");
    EXPECT_EQ(map->get_buffer("D2", buffer, 5), 5);
    EXPECT_STREQ(buffer, "-1e3x--");
}

TEST_F(MapfileTest, ReadOnlyFileShowsTheNoticeOnceThenReadsAndCannotBeSaved) {
    ShownMessages messages;
    open_with(example_pad);
    EXPECT_TRUE(messages.lines.empty());  // a writable file gets no notice
    std::filesystem::permissions(file, std::filesystem::perms::owner_write | std::filesystem::perms::group_write |
                                           std::filesystem::perms::others_write,
                                 std::filesystem::perm_options::remove);
    if (platform::file_writable(file)) GTEST_SKIP() << "this user may write read-only files";
    Mapfile map(file, Mapfile::read);
    EXPECT_EQ(map.get("NIB1"), "Buy milk");
    EXPECT_EQ(messages.lines, std::vector<std::string>{"Read only: The file " + file +
                                                       " is read-only. You will not be able to save changes. (48)"});
    EXPECT_EQ(message_line(thrown_by<Mapfile::file_error>([&] { Mapfile map(file, Mapfile::write); })),
              "Could not save file: Could not save file " + file + ": " + std::strerror(EACCES) + " (16)");
    expect_only_the_file(example_pad);
}

TEST_F(MapfileTest, WritesTheExactRecordGrammarAndRefusesKeysTheReaderCouldNotFind) {
    Mapfile map(file, Mapfile::write);
    map.put_int("NEG", -2147483647 - 1);
    map.put_double("D", -3.25);
    map.put_double("BIG", 1e20);  // wider than 19 characters
    map.put_buffer("NONE", nullptr, 0);
    map.put_buffer("K", "first", 5);
    map.put("K", "second");
    for (const std::string& key : {std::string(), std::string("TWO WORDS"), std::string("TAB\t"),
                                   std::string("LINE\n"), std::string(201, 'k')})
        EXPECT_EQ(thrown_by([&] { map.put(key, "x"); }).title, "Unexpected error") << key;
    EXPECT_EQ(thrown_by([&] { map.put_buffer("NEGATIVE", "abc", -1); }).title, "Unexpected error");
    map.put(std::string(200, 'k'), "a\r\nb\nc\r");
    map.close();
    expect_only_the_file("NEG (11): -2147483648\nD (19):           -3.250000\n"
                         "BIG (28): 100000000000000000000.000000\nNONE (0): \nK (5): first\nK (6): second\n" +
                         std::string(200, 'k') + " (7): a\r\nb\nc\r\n");
}

TEST_F(MapfileTest, RandomRecordsRoundTripAcrossBufferBoundariesReadInOnePassOrByKey) {
    std::mt19937 random(12345);
    std::vector<std::pair<std::string, std::string>> records;
    auto writer = open_with("", Mapfile::write);
    for (int i = 0; i < 6000; ++i) {
        std::string value(random() % (i == 1500 ? 2'500'000 : 600), '\0');
        for (char& c : value) c = static_cast<char>(random());
        records.emplace_back("R" + std::to_string(i) + std::string(random() % 150, 'x'), value);
        writer->put(records.back().first, value);
    }
    writer->close();
    Mapfile once(file, Mapfile::read);
    std::string_view key, value;
    for (const auto& record : records) {
        ASSERT_TRUE(once.next_record(key, value));
        ASSERT_EQ(std::make_pair(std::string(key), std::string(value)), record);
    }
    EXPECT_FALSE(once.next_record(key, value));
    Mapfile map(file, Mapfile::read);
    std::shuffle(records.begin(), records.end(), random);
    for (const auto& [key, value] : records) ASSERT_EQ(map.get(key), value) << key;
}

TEST_F(MapfileTest, OldFileStaysUntilCloseAndAnAbandonedWriterLeavesNoTrace) {
    Mapfile(folder.path("new.nib"), Mapfile::write).put("A", "b");
    EXPECT_TRUE(folder.entries().empty());
    {
        auto map = open_with(example_pad, Mapfile::write);
        map->put("NNIBS", "1");
        map->put("NIB0", std::string(3'000'000, 'x'));  // past the writer's buffer: on disk already
        EXPECT_EQ(read_bytes(file), example_pad);
    }
    expect_only_the_file(example_pad);
    Mapfile map(file, Mapfile::write);
    map.put("NNIBS", "0");
    map.close();
    expect_only_the_file("NNIBS (1): 0\n");
    EXPECT_EQ(thrown_by([&] { map.put("A", "b"); }).text, "File not open for writing.");
    map.close();  // a second close does nothing
}

TEST_F(MapfileTest, RefusedOperationsAndFilesThatCannotBeOpenedOrReplacedAreReported) {
    auto reader = open_with(example_pad);
    const std::string not_updating = "Error: File not open for updating. (48)";
    const std::string not_reading = "Error: File not open for reading. (48)";
    const std::pair<std::function<void()>, std::string> refusals[] = {
        {[&] { reader->put("A", "b"); }, "Error: File not open for writing. (48)"},
        {[&] { reader->commit(); }, not_updating},
        {[&] { reader->remove("NNIBS"); }, not_updating},
        {[&] { Mapfile(folder.path("new.nib"), Mapfile::write).remove("A"); }, not_updating},
        {[&] { Mapfile(folder.path("new.nib"), Mapfile::write).get("A"); }, not_reading},
        {[&] { reader->close(), reader->get("NNIBS"); }, not_reading},
    };
    for (const auto& [call, message] : refusals) EXPECT_EQ(message_line(thrown_by(call)), message);
    const std::string missing = folder.path("none.nib"), nowhere = folder.path("none") + "/pad.nib";
    const std::string not_found = std::string(": ") + std::strerror(ENOENT) + " (16)";
    const std::pair<std::function<void()>, std::string> file_errors[] = {
        {[&] { Mapfile(missing, Mapfile::read); }, "Could not open file: Could not open file " + missing + not_found},
        {[&] { Mapfile(missing, Mapfile::update); }, "Could not save file: Could not open file " + missing + not_found},
        {[&] { Mapfile(nowhere, Mapfile::write); }, "Could not save file: Could not save file " + nowhere + not_found},
        {[&] { open_with("K (1): v\nnot a record\n", Mapfile::update); }, format_error("Could not save file")},
    };
    for (const auto& [call, message] : file_errors) EXPECT_EQ(message_line(thrown_by<Mapfile::file_error>(call)), message);
}

TEST_F(MapfileTest, UpdateCommitsEachKeyOnceInByteOrderAndRemovedKeysCanComeBack) {
    const std::string old = "b (3): old\nLONG (40): " + std::string(40, 'L') + "\nB (1): x\na (1): y\nb (3): two\n";
    open_with(old, Mapfile::update)->put("K", "never committed");
    expect_only_the_file(old);
    auto map = open_with(old, Mapfile::update);
    EXPECT_EQ(map->get("b"), "two");  // the whole file was read: the later record holds
    map->remove("b");
    EXPECT_THROW(map->get("b"), Mapfile::no_such_key);
    map->put("b", "new");
    map->put_int("\xE9t\xE9", 5);  // bytes above 127 sort after the letters
    map->put("A", "");
    map->remove("LONG");
    map->remove("NOT THERE");
    EXPECT_THROW(map->get("LONG"), Mapfile::no_such_key);
    map->commit();
    expect_only_the_file("A (0): \nB (1): x\na (1): y\nb (3): new\n\xE9t\xE9 (1): 5\n");
    map->put("B", "z");  // what the first commit read stays valid for the second
    map->commit();
    map->close();
    expect_only_the_file("A (0): \nB (1): z\na (1): y\nb (3): new\n\xE9t\xE9 (1): 5\n");
    EXPECT_EQ(thrown_by([&] { map->commit(); }).text, "File not open for updating.");
    open_with("", Mapfile::update)->commit();  // an empty file is an empty map
    expect_only_the_file("");
}

}  // namespace
