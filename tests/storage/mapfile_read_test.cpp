#include "storage/mapfile.h"
#include "support/platform.h"

#include "mapfile_test_support.h"

#include <gtest/gtest.h>

#include <cerrno>
#include <cstring>
#include <filesystem>
#include <sstream>

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
    std::vector<std::pair<std::string, std::string>> records;  // the example's lines, split by hand
    for (std::istringstream lines(example_pad); !lines.eof();) {
        std::string line;
        if (std::getline(lines, line)) records.emplace_back(line.substr(0, line.find(' ')), line.substr(line.find("): ") + 3));
    }
    ASSERT_EQ(records.size(), 16u);
    {
        // The main window reads the font first, then the window keys it has passed.
        MessageRecorder messages;
        auto map = open_with(example_pad);
        EXPECT_EQ(map->get("FONT_NAME"), "MS Sans Serif");
        EXPECT_EQ(map->get_int("FONT_SIZE"), 11);
        EXPECT_EQ(map->get_int("WIN_LEFT"), 100);
        EXPECT_EQ(map->get_int("WIN_HEIGHT"), 450);
        EXPECT_EQ(map->get_int("FILE_VERSION"), 1000);
        for (std::size_t i = 7; i < records.size(); ++i) EXPECT_EQ(map->get(records[i].first), records[i].second);
        EXPECT_THROW(map->get("DEL1_ID"), Mapfile::no_such_key);
        EXPECT_TRUE(messages.shown.empty());  // a writable file gets no notice
    }
    {
        auto map = open_with(example_pad);
        for (const auto& [key, value] : records) EXPECT_EQ(map->get(key), value) << key;
    }
    {
        auto map = open_with(example_pad);
        for (auto r = records.rbegin(); r != records.rend(); ++r) EXPECT_EQ(map->get(r->first), r->second) << r->first;
        EXPECT_EQ(map->get("NIB1"), "Buy milk");  // asked again: from the cache
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

TEST_F(MapfileRead, TypedReadsAreLenientAndBuffersGetOnlyWhatFits) {
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

    // get_buffer copies only a value that fits, without a terminating zero.
    char buffer[8] = "-------";
    EXPECT_EQ(map->get_buffer("I1", nullptr, 100), 7);
    EXPECT_EQ(map->get_buffer("D2", buffer, 4), 5);
    EXPECT_STREQ(buffer, "-------");
    EXPECT_EQ(map->get_buffer("D2", buffer, 5), 5);
    EXPECT_STREQ(buffer, "-1e3x--");
    EXPECT_EQ(map->get_buffer("I3", buffer, 0), 0);
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
