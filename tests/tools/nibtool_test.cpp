// nibtool's commands run in-process on real files: status, output, and the files they leave.
#include "mapfile_test_support.h"
#include "storage/pad_document.h"
#include "tools/nibtool.h"

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <chrono>
#include <sstream>

namespace {

using ::testing::AllOf;
using ::testing::EndsWith;
using ::testing::HasSubstr;
using ::testing::IsEmpty;
using ::testing::StartsWith;
using Strings = std::vector<std::string>;
using Text = ::testing::Matcher<const std::string&>;

struct ToolRun {
    int status;
    std::string out, err;
};

ToolRun run(const Strings& arguments, const std::string& input = {}, const Terminal& terminal = {}) {
    std::istringstream in(input);
    std::ostringstream out, err;
    const int status = run_nibtool(arguments, in, out, err, terminal);
    return {status, out.str(), err.str()};
}

// A command line and what it gives back.
struct Step {
    Strings arguments;
    int status;
    Text out;
    Text err = IsEmpty();
    std::string input = {};
    Terminal terminal = {};
};

const Terminal utf8{.utf8 = true};

class Nibtool : public ::testing::Test {
protected:
    std::string path(const std::string& name) const { return folder.path(name); }
    Strings texts_in(const std::string& name) const {
        const PadDocument document = read_pad_file(path(name));
        Strings result;
        for (const Nib& nib : document.pad.nibs()) result.push_back(nib.text());
        return result;
    }
    ScratchFolder folder;
};

}  // namespace

TEST_F(Nibtool, CommandLinesGiveTheirStatusOutputAndFiles) {
    const std::string known = path("known.nib"), newer = path("newer.nib"), notes = path("notes.nib"),
                      missing = path("missing.nib"), imported = path("imported.nib");
    const std::string newer_bytes = "FILE_VERSION (4): 1001\nNNIBS (1): 1\nNIB0 (5): fancy\nFANCY_KEY (1): x\n";
    const std::pair<std::string, std::string> files[] = {
        {"known.nib", "NNIBS (1): 2\nNIB0 (20): Z\xFCrich \"old\"\r\ntown\t\x01\n"
                      "ID0 (36): 6f1c2a3e-5b7d-4e21-9a0b-1c2d3e4f5a6b\nTMOD0 (16): 944000000 1520 1\n"
                      "NIB1 (5): plain\nID1 (36): 0b9d8c7e-6f5a-4b3c-8d2e-1f0a9b8c7d6e\nTMOD1 (16): 944000100 9870 1\n"},
        {"newer.nib", newer_bytes},
        {"good.nib", example_pad},
        {"bad.nib", "FONT_NAME (5): Arial\nNNIBS (1): 3\nNIB0 (1): a\nID0 (36): 6f1c2a3e-5b7d-4e21-9a0b-1c2d3e4f5a6b\n"
                    "NIB1 (1): b\nID1 (3): xyz\nTMOD1 (2): 12\n"
                    "NIB2 (1): c\nID2 (36): 6F1C2A3E-5B7D-4E21-9A0B-1C2D3E4F5A6B\nTMOD2 (5): 1 2 3\n"
                    "DEL0_ID (36): 3c4d5e6f-7a8b-4c9d-8e0f-a1b2c3d4e5f6\n"},
        {"stops.nib", "NNIBS (1): 2\nNIB0 (1): a\nID0 (3): xyz\nTMOD0 (5): 1 2 3\n"},
        {"short.nib", "NNIBS (1): 1\nNIB0 (9): short\n"},
        {"in.txt", "alpha\r\n%%\r\nbeta one\r\n%%\r\ngamma"},
    };
    for (const auto& [name, bytes] : files) write_bytes(path(name), bytes);
    const std::string first_id = "\"id\":\"6f1c2a3e-5b7d-4e21-9a0b-1c2d3e4f5a6b\",\"time\":\"1999-11-30 22:13:20\"";
    const std::string first = "{\"position\":1," + first_id + ",\"text\":\"Z\xC3\xBCrich \\\"old\\\"\\r\\ntown\\t\\u0001\"}";
    const std::string second = "{\"position\":2,\"id\":\"0b9d8c7e-6f5a-4b3c-8d2e-1f0a9b8c7d6e\",\"time\":\"1999-11-30 "
                               "22:15:00\",\"text\":\"plain\"}";
    const auto lines = [](const std::string& u_umlaut) {
        return "1\t6f1c2a3e-5b7d-4e21-9a0b-1c2d3e4f5a6b\t1999-11-30 22:13:20\tZ" + u_umlaut + "rich \"old\"\n"
               "2\t0b9d8c7e-6f5a-4b3c-8d2e-1f0a9b8c7d6e\t1999-11-30 22:15:00\tplain\n";
    };

    std::vector<Step> steps = {
        {{"--help"}, 0, HasSubstr("Usage: nibtool COMMAND")},
        {{}, 1, IsEmpty(), HasSubstr("Usage: nibtool COMMAND")},
        {{"shred", "x.nib"}, 1, IsEmpty(), "Error: Unknown command shred. nibtool --help lists the commands.\n"},
        {{"export", "a.nib", "b.txt", "--colour", "red"}, 1, IsEmpty(), HasSubstr("Wrong arguments for export")},
        {{"list", "--json", missing}, 1, IsEmpty(), HasSubstr("Could not open file: Could not open file " + missing + ": ")},
        {{"import", imported, path("in.txt"), "--separator", ""}, 1, IsEmpty(), HasSubstr("The separator must not be empty.")},
        // Lines show the first line of each nib, JSON the whole text in UTF-8.
        {{"list", known}, 0, lines("\xFC")},
        {{"list", known}, 0, lines("\xC3\xBC"), IsEmpty(), "", utf8},
        {{"list", "--json", known}, 0, "[\n" + first + ",\n" + second + "\n]\n"},
        {{"find", known, "TOWN", "--json"}, 0, "[\n" + first + "\n]\n"},
        {{"find", known, "nothing", "--json"}, 0, "[]\n"},
        // A file of a newer version is never rewritten.
        {{"add", newer, "more"}, 1, IsEmpty(), StartsWith("Newer file: ")},
        {{"add", notes, "-"}, 0, IsEmpty(), IsEmpty(), "Call Ann\nabout the MILK order\n"},
        {{"add", notes, "--", "-x is a word"}, 0, IsEmpty()},
        // A UTF-8 terminal's typed text becomes pad text, or is refused.
        {{"add", notes, "Z\xC3\xBCrich"}, 0, IsEmpty(), IsEmpty(), "", utf8},
        {{"add", notes, "-"}, 0, IsEmpty(), IsEmpty(), "Gr\xC3\xBC\xC3\x9F" "e\n", utf8},
        {{"find", notes, "Z\xC3\x9CRICH"}, 0, AllOf(StartsWith("3\t"), EndsWith("\tZ\xC3\xBCrich\n")), IsEmpty(), "", utf8},
        {{"export", notes, path("found.txt"), "--query", "\xC3\xBC", "--separator", " \xE2\x80\xA2 "}, 0, IsEmpty(), IsEmpty(), "", utf8},
        {{"add", notes, "Wei\xC5\x91"}, 1, IsEmpty(),
         "Error: \"Wei\xC5\x91\" holds the character U+0151, which Windows-1252 cannot hold.\n", "", utf8},
        {{"import", imported, path("in.txt"), "--separator", "\\n%%\\n"}, 0, IsEmpty()},
        {{"export", imported, path("tabbed.txt"), "--separator=\\t", "--query", "A"}, 0, IsEmpty()},
        {{"check", path("good.nib")}, 0, path("good.nib") + ": 2 nibs, 1 deletion records, no problems found.\n"},
        {{"check", path("bad.nib")}, 1,
         AllOf(HasSubstr("the font is incomplete"), HasSubstr("nib 0 has no stored TMOD0"), HasSubstr("ID1 is not an id: xyz"),
               HasSubstr("TMOD1 is not a time of three numbers: 12"),
               HasSubstr("the id 6f1c2a3e-5b7d-4e21-9a0b-1c2d3e4f5a6b stands more than once (ID0 and ID2)"),
               HasSubstr("deletion record 0 lacks its time"))},
        // What stops the reading is reported after what was found before it.
        {{"check", path("stops.nib")}, 1, HasSubstr("xyz\n" + path("stops.nib") + ": Could not find the key: NIB1\n")},
        {{"check", path("short.nib")}, 1, HasSubstr("File does not match format.")},
        {{"merge", "--help"}, 0, StartsWith("Usage: nibtool merge ")},
    };
    for (const Step& step : steps) {
        SCOPED_TRACE(::testing::PrintToString(step.arguments));
        const ToolRun result = run(step.arguments, step.input, step.terminal);
        EXPECT_EQ(result.status, step.status);
        EXPECT_THAT(result.out, step.out);
        EXPECT_THAT(result.err, step.err);
    }

    EXPECT_EQ(read_bytes(newer), newer_bytes);
    EXPECT_EQ(texts_in("notes.nib"), (Strings{"Call Ann\r\nabout the MILK order\r\n", "-x is a word", "Z\xFCrich", "Gr\xFC\xDF" "e\r\n"}));
    EXPECT_EQ(read_pad_file(notes).header.font, default_pad_font);  // the format always has a font
    EXPECT_EQ(read_bytes(path("found.txt")), "Z\xFCrich \x95 Gr\xFC\xDF" "e\r\n");
    EXPECT_EQ(texts_in("imported.nib"), (Strings{"alpha", "beta one", "gamma"}));
    EXPECT_EQ(read_bytes(path("tabbed.txt")), "alpha\tbeta one\tgamma");
}

TEST_F(Nibtool, SyncAndMergeJoinChangedCopiesAndRewriteOnlyWhatChanged) {
    // Two copies of one pad, each changed; each file keeps its own window.
    Pad b_pad;
    b_pad.set_current_text("one");
    Pad a_pad = b_pad;
    a_pad.new_nib();
    a_pad.set_current_text("new in a");
    PadFileHeader header{WindowPlacement{1, 2, 3, 4}, PadFont{"Arial", 12}, {}};
    write_pad_file(path("a.nib"), header, a_pad);
    b_pad.set_current_text("one, changed in b");
    header.placement = WindowPlacement{500, 600, 700, 800};
    write_pad_file(path("b.nib"), header, b_pad);
    // As a git merge driver: ours takes theirs in, theirs stays; the base is not needed.
    std::filesystem::copy_file(path("a.nib"), path("ours.nib"));
    const std::string theirs = read_bytes(path("b.nib"));
    ASSERT_EQ(run({"merge", path("missing.nib"), path("ours.nib"), path("b.nib")}).status, 0);
    EXPECT_EQ(read_bytes(path("b.nib")), theirs);

    ASSERT_EQ(run({"sync", path("a.nib"), path("b.nib")}).status, 0);
    const std::string a = read_bytes(path("a.nib")), b = read_bytes(path("b.nib"));
    EXPECT_EQ(a.substr(a.find("NNIBS")), b.substr(b.find("NNIBS")));  // the same nibs and deletion records
    EXPECT_THAT(a, HasSubstr("WIN_LEFT (1): 1\n"));
    EXPECT_THAT(b, HasSubstr("WIN_LEFT (3): 500\n"));
    EXPECT_EQ(texts_in("a.nib"), (Strings{"one, changed in b", "new in a"}));
    EXPECT_EQ(texts_in("ours.nib"), texts_in("a.nib"));
    // Dated back, so that a rewrite of the same bytes shows too.
    std::vector<std::filesystem::file_time_type> dates;
    for (const char* name : {"a.nib", "b.nib"}) {
        std::filesystem::last_write_time(path(name), std::filesystem::file_time_type::clock::now() - std::chrono::hours(1));
        dates.push_back(std::filesystem::last_write_time(path(name)));
    }
    ASSERT_EQ(run({"sync", path("a.nib"), path("b.nib")}).status, 0);
    EXPECT_EQ(std::filesystem::last_write_time(path("a.nib")), dates[0]);
    EXPECT_EQ(std::filesystem::last_write_time(path("b.nib")), dates[1]);
}
