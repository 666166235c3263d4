// nibtool's commands on real files, run in-process; the programs themselves run in the terminal tests.
#include "mapfile_test_support.h"
#include "storage/pad_document.h"
#include "tools/nibtool.h"

#include <gtest/gtest.h>

#include <chrono>
#include <sstream>

namespace {

using Strings = std::vector<std::string>;

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

bool contains(const std::string& text, const std::string& part) { return text.find(part) != std::string::npos; }

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

TEST_F(Nibtool, HelpAndWrongUse) {
    EXPECT_TRUE(contains(run({"--help"}).out, "Usage: nibtool COMMAND"));
    for (const std::string command : {"list", "find", "add", "import", "export", "sync", "merge", "check"}) {
        const ToolRun result = run({command, "--help"});
        EXPECT_EQ(result.status, 0) << command;
        EXPECT_TRUE(contains(result.out, "Usage: nibtool " + command + " ")) << result.out;
    }
    write_bytes(path("in.txt"), "text");
    const std::pair<Strings, std::string> wrong_uses[] = {
        {{"shred", "x.nib"}, "Error: Unknown command shred. nibtool --help lists the commands.\n"},
        {{"export", "a.nib", "b.txt", "--colour", "red"}, "Wrong arguments for export"},
        {{"list", "--json", path("missing.nib")}, "Could not open file: Could not open file " + path("missing.nib") + ": "},
        {{"merge", "base.nib", path("missing.nib"), "theirs.nib"}, "Could not open file " + path("missing.nib")},
        {{"import", path("pad.nib"), path("in.txt"), "--separator", ""}, "The separator must not be empty."},
    };
    for (const auto& [arguments, error] : wrong_uses) {
        const ToolRun result = run(arguments);
        EXPECT_EQ(result.status, 1) << error;
        EXPECT_TRUE(contains(result.err, error)) << result.err;
        EXPECT_EQ(result.out, "");
    }
}

TEST_F(Nibtool, AddCreatesThePadListAndFindShowIt) {
    const std::string pad = path("notes.nib");
    EXPECT_EQ(run({"add", pad, "Buy milk"}).status, 0);
    EXPECT_EQ(run({"add", pad, "-"}, "Call Ann\nabout the MILK order\n").status, 0);
    EXPECT_EQ(run({"add", pad, "--", "-x is a word"}).status, 0);
    EXPECT_EQ(texts_in("notes.nib"), (Strings{"Buy milk", "Call Ann\r\nabout the MILK order\r\n", "-x is a word"}));
    EXPECT_EQ(read_pad_file(pad).header.font, default_pad_font);  // the format always has a font
    const std::string listed = run({"list", pad}).out;
    EXPECT_TRUE(contains(listed, "\n2\t" + read_pad_file(pad).pad.nibs()[1].id_text() + "\t")) << listed;
    EXPECT_TRUE(contains(listed, "\tCall Ann\n3\t")) << listed;
    const std::string found = run({"find", pad, "milk"}).out;
    EXPECT_TRUE(contains(found, "\tBuy milk\n") && contains(found, "\tCall Ann\n") && !contains(found, "-x")) << found;

    // A file of a newer version is read but never rewritten.
    const std::string bytes = "FILE_VERSION (4): 1001\nNNIBS (1): 1\nNIB0 (5): fancy\nFANCY_KEY (1): x\n";
    write_bytes(pad, bytes);
    EXPECT_EQ(run({"list", pad}).status, 0);
    const ToolRun add = run({"add", pad, "more"});
    EXPECT_EQ(add.status, 1);
    EXPECT_EQ(add.err.rfind("Newer file: ", 0), 0u) << add.err;
    EXPECT_EQ(read_bytes(pad), bytes);
}

TEST_F(Nibtool, JsonHoldsWholeNibsAndNothingElse) {
    const std::string pad = path("two.nib");
    write_bytes(pad,
                "NNIBS (1): 2\n"
                "NIB0 (20): Z\xFCrich \"old\"\r\ntown\t\x01\n"
                "ID0 (36): 6f1c2a3e-5b7d-4e21-9a0b-1c2d3e4f5a6b\n"
                "TMOD0 (16): 944000000 1520 1\n"
                "NIB1 (5): plain\n"
                "ID1 (36): 0b9d8c7e-6f5a-4b3c-8d2e-1f0a9b8c7d6e\n"
                "TMOD1 (16): 944000100 9870 1\n");
    const std::string first = "{\"position\":1,\"id\":\"6f1c2a3e-5b7d-4e21-9a0b-1c2d3e4f5a6b\",\"time\":\"1999-11-30 "
                              "22:13:20\",\"text\":\"Z\xC3\xBCrich \\\"old\\\"\\r\\ntown\\t\\u0001\"}";
    const std::string second = "{\"position\":2,\"id\":\"0b9d8c7e-6f5a-4b3c-8d2e-1f0a9b8c7d6e\",\"time\":\"1999-11-30 "
                               "22:15:00\",\"text\":\"plain\"}";
    const std::pair<Strings, std::string> listings[] = {
        {{"list", "--json", pad}, "[\n" + first + ",\n" + second + "\n]\n"},
        {{"find", pad, "TOWN", "--json"}, "[\n" + first + "\n]\n"},
        {{"find", pad, "nothing", "--json"}, "[]\n"},
    };
    for (const auto& [arguments, json] : listings) {
        const ToolRun result = run(arguments);
        EXPECT_EQ(result.status, 0);
        EXPECT_EQ(result.out, json);
        EXPECT_EQ(result.err, "");
    }
}

TEST_F(Nibtool, TypedTextMeetsAUtf8Terminal) {
    const Terminal utf8{.utf8 = true};
    const std::string pad = path("notes.nib");
    ASSERT_EQ(run({"add", pad, "Z\xC3\xBCrich"}, {}, utf8).status, 0);
    ASSERT_EQ(run({"add", pad, "-"}, "Gr\xC3\xBC\xC3\x9F" "e\n", utf8).status, 0);
    EXPECT_EQ(texts_in("notes.nib"), (Strings{"Z\xFCrich", "Gr\xFC\xDF" "e\r\n"}));
    EXPECT_TRUE(contains(run({"find", pad, "Z\xC3\x9CRICH"}, {}, utf8).out, "\tZ\xC3\xBCrich\n"));
    ASSERT_EQ(run({"export", pad, path("out.txt"), "--query", "\xC3\xBC", "--separator", " \xE2\x80\xA2 "}, {}, utf8).status, 0);
    EXPECT_EQ(read_bytes(path("out.txt")), "Z\xFCrich \x95 Gr\xFC\xDF" "e\r\n");

    const ToolRun refused = run({"add", pad, "Wei\xC5\x91"}, {}, utf8);
    EXPECT_EQ(refused.err, "Error: \"Wei\xC5\x91\" holds the character U+0151, which Windows-1252 cannot hold.\n");
    EXPECT_EQ(texts_in("notes.nib").size(), 2u);
}

TEST_F(Nibtool, ImportAndExportWithSeparatorAndQuery) {
    const std::string pad = path("pad.nib"), out = path("out.txt");
    write_bytes(path("in.txt"), "alpha\r\n%%\r\nbeta one\r\n%%\r\ngamma");
    ASSERT_EQ(run({"import", pad, path("in.txt"), "--separator", "\\n%%\\n"}).status, 0);
    EXPECT_EQ(texts_in("pad.nib"), (Strings{"alpha", "beta one", "gamma"}));
    ASSERT_EQ(run({"export", pad, out, "--separator=\\t", "--query", "A"}).status, 0);
    EXPECT_EQ(read_bytes(out), "alpha\tbeta one\tgamma");
    ASSERT_EQ(run({"export", pad, out}).status, 0);  // the default separator round-trips
    ASSERT_EQ(run({"import", path("again.nib"), out}).status, 0);
    EXPECT_EQ(texts_in("again.nib"), texts_in("pad.nib"));
}

TEST_F(Nibtool, CheckReportsWhatIsWrong) {
    write_bytes(path("good.nib"), example_pad);
    ToolRun result = run({"check", path("good.nib")});
    EXPECT_EQ(result.status, 0);
    EXPECT_EQ(result.out, path("good.nib") + ": 2 nibs, 1 deletion records, no problems found.\n");

    write_bytes(path("bad.nib"),
                "FONT_NAME (5): Arial\nNNIBS (1): 3\n"
                "NIB0 (1): a\nID0 (36): 6f1c2a3e-5b7d-4e21-9a0b-1c2d3e4f5a6b\n"
                "NIB1 (1): b\nID1 (3): xyz\nTMOD1 (2): 12\n"
                "NIB2 (1): c\nID2 (36): 6F1C2A3E-5B7D-4E21-9A0B-1C2D3E4F5A6B\nTMOD2 (5): 1 2 3\n"
                "DEL0_ID (36): 3c4d5e6f-7a8b-4c9d-8e0f-a1b2c3d4e5f6\n");
    result = run({"check", path("bad.nib")});
    EXPECT_EQ(result.status, 1);
    for (const char* problem : {"the font is incomplete", "nib 0 has no stored TMOD0", "ID1 is not an id: xyz",
                                "TMOD1 is not a time of three numbers: 12",
                                "the id 6f1c2a3e-5b7d-4e21-9a0b-1c2d3e4f5a6b stands more than once (ID0 and ID2)",
                                "deletion record 0 lacks its time"})
        EXPECT_TRUE(contains(result.out, problem)) << problem << "\n" << result.out;

    // What stops the reading is reported after what was found before it.
    write_bytes(path("broken.nib"), "NNIBS (1): 2\nNIB0 (1): a\nID0 (3): xyz\nTMOD0 (5): 1 2 3\n");
    result = run({"check", path("broken.nib")});
    EXPECT_EQ(result.status, 1);
    EXPECT_TRUE(contains(result.out, "xyz\n" + path("broken.nib") + ": Could not find the key: NIB1\n")) << result.out;
    write_bytes(path("broken.nib"), "NNIBS (1): 1\nNIB0 (9): short\n");
    EXPECT_TRUE(contains(run({"check", path("broken.nib")}).out, "File does not match format."));
}

TEST_F(Nibtool, SyncAndMergeJoinEditedCopiesAndRewriteOnlyWhatChanged) {
    Pad base;
    for (const char* text : {"one", "two", "three", "four"}) {
        base.new_nib();
        base.set_current_text(text);
    }
    // Two copies of it, each changed as the program would; each file keeps its own window.
    PadFileHeader header{WindowPlacement{1, 2, 3, 4}, PadFont{"Arial", 12}, {}};
    write_pad_file(path("a.nib"), header, base);
    Pad a_pad = read_pad_file(path("a.nib")).pad, b_pad = a_pad;
    a_pad.go_to(1);
    a_pad.set_current_text("one, changed in a");
    a_pad.go_to(2);
    a_pad.delete_current();  // "two"
    a_pad.new_nib();
    a_pad.set_current_text("new in a");
    a_pad.new_nib();  // left empty
    write_pad_file(path("a.nib"), header, a_pad);
    b_pad.go_to(3);
    b_pad.set_current_text("three, changed in b");
    b_pad.go_to(4);
    b_pad.delete_current();  // "four"
    b_pad.new_nib();
    b_pad.set_current_text("new in b");
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
    EXPECT_TRUE(contains(a, "WIN_LEFT (1): 1\n") && contains(b, "WIN_LEFT (3): 500\n"));
    EXPECT_EQ(texts_in("a.nib"), (Strings{"one, changed in a", "three, changed in b", "new in a", "new in b"}));
    EXPECT_EQ(texts_in("ours.nib"), texts_in("a.nib"));
    EXPECT_EQ(read_pad_file(path("a.nib")).pad.deletions().size(), 3u);  // two, four and the empty nib
    // Dated back, so that a rewrite of the same bytes shows too.
    std::vector<std::filesystem::file_time_type> dates;
    for (const char* name : {"a.nib", "b.nib"}) {
        std::filesystem::last_write_time(path(name), std::filesystem::file_time_type::clock::now() - std::chrono::hours(1));
        dates.push_back(std::filesystem::last_write_time(path(name)));
    }
    ASSERT_EQ(run({"sync", path("a.nib"), path("b.nib")}).status, 0);
    EXPECT_EQ(std::filesystem::last_write_time(path("a.nib")), dates[0]);
    EXPECT_EQ(std::filesystem::last_write_time(path("b.nib")), dates[1]);
    // Another text under the same id and time, as a hand edit leaves it: the first file's wins.
    std::string hand_edited = b;
    write_bytes(path("b.nib"), hand_edited.replace(b.find("one, changed in a"), 17, "one, CHANGED IN B"));
    ASSERT_EQ(run({"sync", path("a.nib"), path("b.nib")}).status, 0);
    EXPECT_EQ(read_bytes(path("b.nib")), b);
}

TEST_F(Nibtool, NotesAddedApartToTwoNewSynchronisedPadsBothSurvive) {
    Pad empty;
    for (const char* name : {"e1.nib", "e2.nib"}) write_pad_file(path(name), PadFileHeader{}, empty);
    ASSERT_EQ(run({"sync", path("e1.nib"), path("e2.nib")}).status, 0);
    ASSERT_EQ(run({"add", path("e1.nib"), "note A"}).status, 0);
    ASSERT_EQ(run({"add", path("e2.nib"), "note B"}).status, 0);
    ASSERT_EQ(run({"sync", path("e1.nib"), path("e2.nib")}).status, 0);
    EXPECT_EQ(texts_in("e1.nib"), (Strings{"note A", "note B"}));
    EXPECT_EQ(texts_in("e2.nib"), texts_in("e1.nib"));
}
