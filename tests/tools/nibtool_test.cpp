// nibtool's commands, run as the real program.
#include "nibtool_runner.h"
#include "storage/pad_document.h"

#include <gtest/gtest.h>

namespace {

using Strings = std::vector<std::string>;

Strings texts_of(const Pad& pad) {
    Strings result;
    for (const Nib& nib : pad.nibs()) result.push_back(nib.text());
    return result;
}

bool contains(const std::string& text, const std::string& part) { return text.find(part) != std::string::npos; }

// Changes the pad file at `path` through the library, as the program would.
template <typename Edit>
void edit(const std::string& path, Edit change) {
    PadDocument document = read_pad_file(path);
    change(document);
    write_pad_file(path, document.header, document.pad);
}

class Nibtool : public ::testing::Test {
protected:
    ToolRun run(const Strings& arguments, const std::string& input = {}) {
        return run_nibtool_program(folder, arguments, input);
    }
    std::string path(const std::string& name) const { return folder.path(name); }
    Strings texts_in(const std::string& name) const { return texts_of(read_pad_file(path(name)).pad); }
    // A pad of four nibs, "one" to "four", and copies of it.
    void write_base(const Strings& names) {
        Pad pad;
        for (const char* text : {"one", "two", "three", "four"}) {
            pad.new_nib();
            pad.set_current_text(text);
        }
        for (const std::string& name : names)
            write_pad_file(path(name), PadFileHeader{WindowPlacement{1, 2, 3, 4}, PadFont{"Arial", 12}, {}}, pad);
    }

    ScratchFolder folder;
};

}  // namespace

TEST_F(Nibtool, HelpAndWrongUse) {
    ToolRun result = run({"--help"});
    EXPECT_EQ(result.status, 0);
    EXPECT_TRUE(contains(result.out, "Usage: nibtool COMMAND")) << result.out;
    for (const std::string command : {"list", "find", "add", "import", "export", "sync", "merge", "check"}) {
        result = run({command, "--help"});
        EXPECT_EQ(result.status, 0) << command;
        EXPECT_TRUE(contains(result.out, "Usage: nibtool " + command)) << result.out;
    }
    result = run({"shred", "x.nib"});
    EXPECT_EQ(result.status, 1);
    EXPECT_EQ(result.err, "Error: Unknown command shred. nibtool --help lists the commands.\n");
    result = run({"export", "a.nib", "b.txt", "--colour", "red"});
    EXPECT_EQ(result.status, 1);
    EXPECT_TRUE(contains(result.err, "Wrong arguments for export")) << result.err;
    result = run({"list", path("missing.nib")});
    EXPECT_EQ(result.status, 1);
    EXPECT_EQ(result.err.rfind("Could not open file: Could not open file " + path("missing.nib") + ": ", 0), 0u)
        << result.err;
    EXPECT_EQ(result.out, "");
}

TEST_F(Nibtool, AddCreatesThePadListAndFindShowIt) {
    const std::string pad = path("notes.nib");
    EXPECT_EQ(run({"add", pad, "Buy milk"}).status, 0);
    write_bytes(path("stdin.txt"), "Call Ann\nabout the MILK order\n");
    EXPECT_EQ(run({"add", pad, "-"}, path("stdin.txt")).status, 0);
    EXPECT_EQ(run({"add", pad, "--", "-x is a word"}).status, 0);
    EXPECT_EQ(texts_in("notes.nib"), (Strings{"Buy milk", "Call Ann\r\nabout the MILK order\r\n", "-x is a word"}));

    ToolRun list = run({"list", pad});
    EXPECT_EQ(list.status, 0);
    const std::string second_line = "2\t" + read_pad_file(pad).pad.nibs()[1].id_text() + "\t";
    EXPECT_TRUE(contains(list.out, second_line)) << list.out;
    EXPECT_TRUE(contains(list.out, "\tCall Ann\n")) << list.out;
    EXPECT_TRUE(contains(list.out, "\n3\t")) << list.out;
    ToolRun find = run({"find", pad, "milk"});
    EXPECT_EQ(find.status, 0);
    EXPECT_TRUE(contains(find.out, "\tBuy milk\n"));
    EXPECT_TRUE(contains(find.out, "\tCall Ann\n"));
    EXPECT_FALSE(contains(find.out, "-x is a word"));
    EXPECT_EQ(run({"find", pad, "nothing"}).out, "");

    // A file of a newer version is read but never rewritten.
    const std::string bytes = "FILE_VERSION (4): 1001\nNNIBS (1): 1\nNIB0 (5): fancy\nFANCY_KEY (1): x\n";
    write_bytes(pad, bytes);
    EXPECT_EQ(run({"list", pad}).status, 0);
    ToolRun add = run({"add", pad, "more"});
    EXPECT_EQ(add.status, 1);
    EXPECT_EQ(add.err.rfind("Newer file: ", 0), 0u) << add.err;
    EXPECT_EQ(read_bytes(pad), bytes);
}

TEST_F(Nibtool, ImportAndExportWithSeparatorAndQuery) {
    const std::string pad = path("pad.nib"), out = path("out.txt");
    write_bytes(path("in.txt"), "alpha\r\n%%\r\nbeta one\r\n%%\r\ngamma");
    ToolRun result = run({"import", pad, path("in.txt"), "--separator", "\\n%%\\n"});
    ASSERT_EQ(result.status, 0) << result.err;
    EXPECT_EQ(texts_in("pad.nib"), (Strings{"alpha", "beta one", "gamma"}));
    ASSERT_EQ(run({"export", pad, out, "--separator=\\t", "--query", "A"}).status, 0);
    EXPECT_EQ(read_bytes(out), "alpha\tbeta one\tgamma");
    ASSERT_EQ(run({"export", pad, out, "--query", "ONE"}).status, 0);
    EXPECT_EQ(read_bytes(out), "beta one");
    // The default separator round-trips.
    ASSERT_EQ(run({"export", pad, out}).status, 0);
    ASSERT_EQ(run({"import", path("again.nib"), out}).status, 0);
    EXPECT_EQ(texts_in("again.nib"), texts_in("pad.nib"));

    result = run({"import", pad, path("in.txt"), "--separator", ""});
    EXPECT_EQ(result.status, 1);
    EXPECT_TRUE(contains(result.err, "The separator must not be empty.")) << result.err;
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
    result = run({"check", path("broken.nib")});
    EXPECT_EQ(result.status, 1);
    EXPECT_TRUE(contains(result.out, "File does not match format.")) << result.out;
}

TEST_F(Nibtool, SyncOfTwoEditedCopiesEndsIdenticalAndStaysThatWay) {
    const std::string a = path("a.nib"), b = path("b.nib");
    write_base({"a.nib", "b.nib"});
    edit(a, [](PadDocument& document) {
        Pad& pad = document.pad;
        pad.go_to(1);
        pad.set_current_text("one, changed in a");
        pad.go_to(2);
        pad.delete_current();  // "two"
        pad.new_nib();
        pad.set_current_text("new in a");
        pad.new_nib();  // left empty
    });
    edit(b, [](PadDocument& document) {
        document.header.placement = WindowPlacement{500, 600, 700, 800};  // each file keeps its own window
        Pad& pad = document.pad;
        pad.go_to(3);
        pad.set_current_text("three, changed in b");
        pad.go_to(4);
        pad.delete_current();  // "four"
        pad.new_nib();
        pad.set_current_text("new in b");
    });

    ToolRun result = run({"sync", a, b});
    ASSERT_EQ(result.status, 0) << result.err;
    // The same nibs and deletion records, each file with its own window.
    const std::string bytes_a = read_bytes(a), bytes_b = read_bytes(b);
    EXPECT_EQ(bytes_a.substr(bytes_a.find("NNIBS")), bytes_b.substr(bytes_b.find("NNIBS")));
    EXPECT_TRUE(contains(bytes_a, "WIN_LEFT (1): 1\n")) << bytes_a;
    EXPECT_TRUE(contains(bytes_b, "WIN_LEFT (3): 500\n")) << bytes_b;
    EXPECT_EQ(texts_in("a.nib"), (Strings{"one, changed in a", "three, changed in b", "new in a", "new in b"}));
    EXPECT_EQ(read_pad_file(a).pad.deletions().size(), 3u);  // two, four and the empty nib
    ASSERT_EQ(run({"sync", a, b}).status, 0);
    EXPECT_EQ(read_bytes(a), bytes_a);
    EXPECT_EQ(read_bytes(b), bytes_b);
}

TEST_F(Nibtool, MergeDriverWritesOursOnly) {
    write_base({"base.nib", "ours.nib", "theirs.nib"});
    edit(path("ours.nib"), [](PadDocument& document) {
        document.pad.go_to(1);
        document.pad.set_current_text("ours");
    });
    edit(path("theirs.nib"), [](PadDocument& document) {
        document.pad.go_to(2);
        document.pad.delete_current();
        document.pad.new_nib();
        document.pad.set_current_text("theirs");
    });
    const std::string theirs_bytes = read_bytes(path("theirs.nib"));
    ToolRun result = run({"merge", path("base.nib"), path("ours.nib"), path("theirs.nib")});
    ASSERT_EQ(result.status, 0) << result.err;
    EXPECT_EQ(texts_in("ours.nib"), (Strings{"ours", "three", "four", "theirs"}));
    EXPECT_EQ(read_bytes(path("theirs.nib")), theirs_bytes);
    EXPECT_EQ(run({"merge", path("base.nib"), path("ours.nib"), path("missing.nib")}).status, 1);
}
