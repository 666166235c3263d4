#include "storage/mapfile.h"
#include "support/platform.h"

#include "mapfile_test_support.h"

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <cerrno>
#include <cstring>
#include <filesystem>

using ::testing::HasSubstr;

namespace {

class MapfileRead : public ::testing::Test {
protected:
    // Writes `bytes` as the file and opens it for reading.
    std::unique_ptr<Mapfile> open_with(const std::string& bytes) {
        write_bytes(file, bytes);
        return std::make_unique<Mapfile>(file, Mapfile::read);
    }
    void expect_format_error(Mapfile& map, const std::string& key) {
        msg_exception e = thrown_by<Mapfile::file_error>([&] { map.get(key); });
        EXPECT_EQ(e.text, "Error reading file " + file + ": File does not match format.");
        EXPECT_EQ(e.title, "Could not open file");
        EXPECT_EQ(e.style, 16u);
    }
    void expect_format_error(const std::string& bytes) {
        SCOPED_TRACE(bytes.substr(0, 60));
        auto map = open_with(bytes);
        expect_format_error(*map, "WANTED");
    }

    ScratchFolder folder;
    std::string file = folder.path("pad.nib");
};

TEST_F(MapfileRead, WorkedExampleInProgramOrderInOrderAndReversed) {
    const std::vector<std::pair<std::string, std::string>> records = {
        {"WIN_LEFT", "100"}, {"WIN_TOP", "80"}, {"WIN_WIDTH", "400"}, {"WIN_HEIGHT", "450"},
        {"FONT_NAME", "MS Sans Serif"}, {"FONT_SIZE", "11"}, {"FILE_VERSION", "1000"}, {"NNIBS", "2"},
        {"NIB0", "Hello"}, {"ID0", "6f1c2a3e-5b7d-4e21-9a0b-1c2d3e4f5a6b"}, {"TMOD0", "944000000 1520 1"},
        {"NIB1", "Buy milk"}, {"ID1", "0b9d8c7e-6f5a-4b3c-8d2e-1f0a9b8c7d6e"}, {"TMOD1", "944000100 9870 1"},
        {"DEL0_ID", "3c4d5e6f-7a8b-4c9d-8e0f-a1b2c3d4e5f6"}, {"DEL0_TS", "944000200 1400 2"}};
    {
        // The main window reads the font first, then the window keys it has passed.
        auto map = open_with(example_pad);
        EXPECT_EQ(map->get("FONT_NAME"), "MS Sans Serif");
        EXPECT_EQ(map->get_int("FONT_SIZE"), 11);
        EXPECT_EQ(map->get_int("WIN_LEFT"), 100);
        EXPECT_EQ(map->get_int("WIN_TOP"), 80);
        EXPECT_EQ(map->get_int("WIN_WIDTH"), 400);
        EXPECT_EQ(map->get_int("WIN_HEIGHT"), 450);
        EXPECT_EQ(map->get_int("FILE_VERSION"), 1000);
        EXPECT_EQ(map->get_int("NNIBS"), 2);
        for (std::size_t i = 8; i < records.size(); ++i) EXPECT_EQ(map->get(records[i].first), records[i].second);
        EXPECT_THROW(map->get("DEL1_ID"), Mapfile::no_such_key);
    }
    {
        auto map = open_with(example_pad);
        for (const auto& [key, value] : records) EXPECT_EQ(map->get(key), value) << key;
    }
    {
        auto map = open_with(example_pad);
        for (auto r = records.rbegin(); r != records.rend(); ++r) EXPECT_EQ(map->get(r->first), r->second) << r->first;
        // Asking again is served from the cache.
        EXPECT_EQ(map->get("NIB1"), "Buy milk");
    }
}

TEST_F(MapfileRead, AbsentKeysFailAsMissingKeysNotAsFormatErrors) {
    auto map = open_with(example_pad);
    msg_exception e = thrown_by<Mapfile::no_such_key>([&] { map->get("DEL1_ID"); });
    EXPECT_EQ(e.text, "Could not find the key: DEL1_ID");
    EXPECT_EQ(e.title, "Unknown key");
    EXPECT_EQ(e.style, 48u);
    EXPECT_THROW(map->get("DEL1_TS"), Mapfile::no_such_key);
    EXPECT_THROW(map->get("nnibs"), Mapfile::no_such_key);  // keys match case-sensitively
    EXPECT_EQ(map->get("NIB0"), "Hello");                   // everything passed stays readable
    EXPECT_EQ(map->get("DEL0_TS"), "944000200 1400 2");

    auto empty = open_with("");
    EXPECT_THROW(empty->get("NNIBS"), Mapfile::no_such_key);
    auto blank = open_with(" \r\n\t\n");
    EXPECT_THROW(blank->get("NNIBS"), Mapfile::no_such_key);
}

TEST_F(MapfileRead, AcceptsWhiteSpaceLineEndVariantsAndScanNotationLengths) {
    auto map = open_with(
        "\r\n\n  \tA (3): one\r\n"           // white space before the key, CR LF after the value
        "B\t\t(3):\r\ntwo\r\n"               // CR LF instead of the blank: both bytes skipped
        "C (2):\rxy\n"                       // a lone CR is the one skipped byte
        "D (2):_ab\n"                        // any byte is skipped
        "E\n(  3): abc\n"                    // white space before "(" and before the length
        "F (010): 12345678\n"                // octal
        "G (0x0A): 0123456789\n"             // hexadecimal
        "H (0XB): 0123456789a\n"
        "I (+2): ok\n"
        "J (-0): \n"
        "K (0):\n"                            // the skipped byte is the line feed itself
        "L (4):  pad\n");
    EXPECT_EQ(map->get("L"), " pad");
    EXPECT_EQ(map->get("A"), "one");
    EXPECT_EQ(map->get("B"), "two");
    EXPECT_EQ(map->get("C"), "xy");
    EXPECT_EQ(map->get("D"), "ab");
    EXPECT_EQ(map->get("E"), "abc");
    EXPECT_EQ(map->get("F"), "12345678");
    EXPECT_EQ(map->get("G"), "0123456789");
    EXPECT_EQ(map->get("H"), "0123456789a");
    EXPECT_EQ(map->get("I"), "ok");
    EXPECT_EQ(map->get("J"), "");
    EXPECT_EQ(map->get("K"), "");
    EXPECT_THROW(map->get("M"), Mapfile::no_such_key);
}

TEST_F(MapfileRead, ValuesReadBackByteForByte) {
    std::string all_bytes;
    for (int i = 0; i < 256; ++i) all_bytes += static_cast<char>(i);
    const std::string head_like = "X (3): abc\nY (1): z\n(:)\r\n";
    std::string bytes = "EMPTY (0): \n";
    bytes += "ALL (256): " + all_bytes + "\n";
    bytes += "HEADLIKE (" + std::to_string(head_like.size()) + "): " + head_like + "\n";
    bytes += "LAST (1): !\n";
    auto map = open_with(bytes);
    EXPECT_EQ(map->get("LAST"), "!");
    EXPECT_EQ(map->get("EMPTY"), "");
    EXPECT_EQ(map->get("ALL"), all_bytes);
    EXPECT_EQ(map->get("HEADLIKE"), head_like);
    EXPECT_THROW(map->get("X"), Mapfile::no_such_key);  // only looked like a record
    EXPECT_THROW(map->get("Y"), Mapfile::no_such_key);
}

TEST_F(MapfileRead, LaterRecordOfTheSameKeyWins) {
    auto map = open_with("K (3): old\nL (1): x\nK (3): new\n");
    EXPECT_EQ(map->get("L"), "x");
    EXPECT_EQ(map->get("K"), "old");  // the first is found first...
    EXPECT_THROW(map->get("Z"), Mapfile::no_such_key);
    EXPECT_EQ(map->get("K"), "new");  // ...and replaced once the scan passes the second
}

TEST_F(MapfileRead, KeysUpTo200CharactersAreRecords) {
    const std::string key200(200, 'k');
    auto map = open_with(key200 + " (2): ok\n");
    EXPECT_EQ(map->get(key200), "ok");
    expect_format_error(std::string(201, 'k') + " (2): ok\n");
    expect_format_error("A (1): x\n" + std::string(5000, 'k') + " (2): ok\n");
}

TEST_F(MapfileRead, BytesThatAreNotRecordsAreFormatErrors) {
    expect_format_error("A 1): x\n");          // no "("
    expect_format_error("A (1) : x\n");        // blank between ")" and ":"
    expect_format_error("A (1 ): x\n");        // blank between the length and ")"
    expect_format_error("A (1)x\n");           // no ":"
    expect_format_error("A (): x\n");          // no number
    expect_format_error("A (x1): x\n");
    expect_format_error("A (0x): x\n");        // hexadecimal without digits
    expect_format_error("A (08): 12345678\n"); // 8 is no octal digit
    expect_format_error("A(1): x\n");          // the key runs on to the colon, then no "("
    expect_format_error("(1): x\n");           // no key
}

TEST_F(MapfileRead, NegativeAbsurdAndTruncatedLengthsAreFormatErrors) {
    expect_format_error("A (-1): x\n");
    expect_format_error("A (-2147483648): x\n");
    expect_format_error("A (2147483647): x\n");  // far past the end: no huge allocation either
    expect_format_error("A (99999999999999999999): x\n");
    expect_format_error("A (0x7fffffff): x\n");
    expect_format_error("A (10): short\n");     // the file ends inside the value
    expect_format_error("A (1): x\nB (3):");   // ... or right after the head
    expect_format_error("A (1): x\nB (3");     // ... or inside the head
    expect_format_error("A (1): x\nB");
}

TEST_F(MapfileRead, FormatErrorKeepsWhatWasReadAndStaysAnError) {
    auto map = open_with("A (1): a\nB (1): b\nbroken\nC (1): c\n");
    EXPECT_EQ(map->get("A"), "a");
    expect_format_error(*map, "C");
    expect_format_error(*map, "D");
    EXPECT_EQ(map->get("B"), "b");
}

TEST_F(MapfileRead, ValuesAndKeysAcrossBlockBoundaries) {
    // Records of every size around the reader's blocks, and one value larger than a block.
    std::string bytes;
    std::vector<std::pair<std::string, std::string>> records;
    for (int i = 0; i < 4000; ++i) {
        std::string key = "KEY" + std::to_string(i) + std::string(static_cast<std::size_t>(i % 190), 'k');
        std::string value(static_cast<std::size_t>((i * 7919) % 700), static_cast<char>('a' + i % 26));
        if (i == 2000) value.assign(3 * 1024 * 1024 + 17, 'B');
        bytes += key + " (" + std::to_string(value.size()) + "): " + value + "\n";
        records.emplace_back(key, value);
    }
    auto map = open_with(bytes);
    for (const auto& [key, value] : records) ASSERT_EQ(map->get(key), value) << key;
    EXPECT_THROW(map->get("NONE"), Mapfile::no_such_key);
}

TEST_F(MapfileRead, TypedReadsAreLenient) {
    auto map = open_with(
        "I1 (7):   -42ab\nI2 (3): abc\nI3 (0): \nI4 (11): 99999999999\nI5 (4): +7 8\n"
        "D1 (19):            3.250000\nD2 (5): -1e3x\nD3 (1): x\n");
    EXPECT_EQ(map->get_int("I1"), -42);
    EXPECT_EQ(map->get_int("I2"), 0);
    EXPECT_EQ(map->get_int("I3"), 0);
    EXPECT_EQ(map->get_int("I4"), 2147483647);
    EXPECT_EQ(map->get_int("I5"), 7);
    EXPECT_DOUBLE_EQ(map->get_double("D1"), 3.25);
    EXPECT_DOUBLE_EQ(map->get_double("D2"), -1000.0);
    EXPECT_DOUBLE_EQ(map->get_double("D3"), 0.0);
    EXPECT_THROW(map->get_int("NONE"), Mapfile::no_such_key);
}

TEST_F(MapfileRead, GetBufferCopiesOnlyWhenTheValueFits) {
    auto map = open_with("K (5): hello\nE (0): \n");
    char buffer[8] = "-------";
    EXPECT_EQ(map->get_buffer("K", nullptr, 100), 5);
    EXPECT_EQ(map->get_buffer("K", buffer, 4), 5);
    EXPECT_STREQ(buffer, "-------");
    EXPECT_EQ(map->get_buffer("K", buffer, 5), 5);
    EXPECT_STREQ(buffer, "hello--");  // no terminating zero added
    EXPECT_EQ(map->get_buffer("E", buffer, 0), 0);
    EXPECT_THROW(map->get_buffer("NONE", buffer, 8), Mapfile::no_such_key);
}

TEST_F(MapfileRead, MissingFileNamesPathOpenAndTheSystemReason) {
    const std::string missing = folder.path("no such pad.nib");
    msg_exception e = thrown_by<Mapfile::file_error>([&] { Mapfile map(missing, Mapfile::read); });
    EXPECT_EQ(e.text, "Could not open file " + missing + ": " + std::strerror(ENOENT));
    EXPECT_EQ(e.title, "Could not open file");
    EXPECT_EQ(e.style, 16u);
}

TEST_F(MapfileRead, ReadOnlyFileShowsTheNoticeOnceThenReads) {
    write_bytes(file, example_pad);
    std::filesystem::permissions(file, std::filesystem::perms::owner_read | std::filesystem::perms::group_read |
                                           std::filesystem::perms::others_read);
    if (platform::file_writable(file)) GTEST_SKIP() << "this user may write read-only files";
    MessageRecorder messages;
    Mapfile map(file, Mapfile::read);
    ASSERT_EQ(messages.shown.size(), 1u);
    EXPECT_EQ(messages.shown[0].text, "The file " + file + " is read-only. You will not be able to save changes.");
    EXPECT_EQ(messages.shown[0].title, "Read only");
    EXPECT_EQ(messages.shown[0].style, 48u);
    EXPECT_EQ(map.get("NIB1"), "Buy milk");
    EXPECT_THROW(map.get("NONE"), Mapfile::no_such_key);
    EXPECT_EQ(messages.shown.size(), 1u);
}

TEST_F(MapfileRead, WritableFileShowsNothing) {
    MessageRecorder messages;
    auto map = open_with(example_pad);
    EXPECT_EQ(map->get("NNIBS"), "2");
    EXPECT_TRUE(messages.shown.empty());
}

TEST_F(MapfileRead, WritingOperationsAreRefused) {
    auto map = open_with(example_pad);
    msg_exception e = thrown_by<msg_exception>([&] { map->put("A", "b"); });
    EXPECT_EQ(e.text, "File not open for writing.");
    EXPECT_EQ(e.title, "Error");
    EXPECT_EQ(e.style, 48u);
    EXPECT_THROW(map->put_int("A", 1), msg_exception);
    e = thrown_by<msg_exception>([&] { map->commit(); });
    EXPECT_EQ(e.text, "File not open for updating.");
    e = thrown_by<msg_exception>([&] { map->remove("NNIBS"); });
    EXPECT_EQ(e.text, "File not open for updating.");
    EXPECT_EQ(map->get("NNIBS"), "2");
    map->close();
    e = thrown_by<msg_exception>([&] { map->get("NNIBS"); });
    EXPECT_EQ(e.text, "File not open for reading.");
    EXPECT_EQ(read_bytes(file), example_pad);
}

}  // namespace
