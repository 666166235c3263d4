// nibtool's commands, run as the real program.
#include "nibtool_runner.h"
#include "storage/pad_document.h"

#include <gtest/gtest.h>

#ifndef _WIN32
#include <sys/wait.h>
#endif

namespace {

std::vector<std::string> texts_of(const std::string& path) {
    const PadDocument document = read_pad_file(path);
    std::vector<std::string> result;
    for (const Nib& nib : document.pad.nibs()) result.push_back(nib.text());
    return result;
}

bool contains(const std::string& text, const std::string& part) { return text.find(part) != std::string::npos; }

}  // namespace

TEST(Nibtool, HelpAndWrongUse) {
    ScratchFolder folder;
    ToolRun run = run_nibtool_program(folder, {"--help"});
    EXPECT_EQ(run.status, 0);
    EXPECT_TRUE(contains(run.out, "Usage: nibtool COMMAND")) << run.out;
    for (const char* command : {"list", "find", "add", "import", "export", "sync", "merge", "check"}) {
        run = run_nibtool_program(folder, {command, "--help"});
        EXPECT_EQ(run.status, 0) << command;
        EXPECT_TRUE(contains(run.out, std::string("Usage: nibtool ") + command)) << run.out;
    }

    run = run_nibtool_program(folder, {"shred", "x.nib"});
    EXPECT_EQ(run.status, 1);
    EXPECT_EQ(run.err, "Error: Unknown command shred. nibtool --help lists the commands.\n");
    run = run_nibtool_program(folder, {"export", "a.nib", "b.txt", "--colour", "red"});
    EXPECT_EQ(run.status, 1);
    EXPECT_TRUE(contains(run.err, "Wrong arguments for export")) << run.err;

    const std::string missing = folder.path("missing.nib");
    run = run_nibtool_program(folder, {"list", missing});
    EXPECT_EQ(run.status, 1);
    EXPECT_EQ(run.err.rfind("Could not open file: Could not open file " + missing + ": ", 0), 0u) << run.err;
    EXPECT_EQ(run.out, "");
}

TEST(Nibtool, AddCreatesThePadAndListShowsIt) {
    ScratchFolder folder;
    const std::string pad = folder.path("notes.nib");
    EXPECT_EQ(run_nibtool_program(folder, {"add", pad, "Buy milk"}).status, 0);
    write_bytes(folder.path("stdin.txt"), "Call Ann\nabout the MILK order\n");
    EXPECT_EQ(run_nibtool_program(folder, {"add", pad, "-"}, folder.path("stdin.txt")).status, 0);
    EXPECT_EQ(run_nibtool_program(folder, {"add", pad, "--", "-x is a word"}).status, 0);
    EXPECT_EQ(texts_of(pad), (std::vector<std::string>{"Buy milk", "Call Ann\r\nabout the MILK order\r\n", "-x is a word"}));

    ToolRun list = run_nibtool_program(folder, {"list", pad});
    EXPECT_EQ(list.status, 0);
    const PadDocument document = read_pad_file(pad);
    const std::string second_line = "2\t" + document.pad.nibs()[1].id_text() + "\t";
    EXPECT_TRUE(contains(list.out, second_line)) << list.out;
    EXPECT_TRUE(contains(list.out, "\tCall Ann\n")) << list.out;
    EXPECT_TRUE(contains(list.out, "\n3\t")) << list.out;

    ToolRun find = run_nibtool_program(folder, {"find", pad, "milk"});
    EXPECT_EQ(find.status, 0);
    EXPECT_TRUE(contains(find.out, "\tBuy milk\n"));
    EXPECT_TRUE(contains(find.out, "\tCall Ann\n"));
    EXPECT_FALSE(contains(find.out, "-x is a word"));
    EXPECT_EQ(run_nibtool_program(folder, {"find", pad, "nothing"}).out, "");
}

TEST(Nibtool, ImportAndExportWithSeparatorAndQuery) {
    ScratchFolder folder;
    const std::string pad = folder.path("pad.nib");
    write_bytes(folder.path("in.txt"), "alpha\r\n%%\r\nbeta one\r\n%%\r\ngamma");
    ToolRun run = run_nibtool_program(folder, {"import", pad, folder.path("in.txt"), "--separator", "\\n%%\\n"});
    ASSERT_EQ(run.status, 0) << run.err;
    EXPECT_EQ(texts_of(pad), (std::vector<std::string>{"alpha", "beta one", "gamma"}));

    run = run_nibtool_program(folder, {"export", pad, folder.path("out.txt"), "--separator=\\t", "--query", "A"});
    ASSERT_EQ(run.status, 0) << run.err;
    EXPECT_EQ(read_bytes(folder.path("out.txt")), "alpha\tbeta one\tgamma");
    run = run_nibtool_program(folder, {"export", pad, folder.path("out.txt"), "--query", "ONE"});
    EXPECT_EQ(read_bytes(folder.path("out.txt")), "beta one");

    // The default separator round-trips.
    run = run_nibtool_program(folder, {"export", pad, folder.path("all.txt")});
    ASSERT_EQ(run.status, 0) << run.err;
    run = run_nibtool_program(folder, {"import", folder.path("again.nib"), folder.path("all.txt")});
    ASSERT_EQ(run.status, 0) << run.err;
    EXPECT_EQ(texts_of(folder.path("again.nib")), texts_of(pad));

    run = run_nibtool_program(folder, {"import", pad, folder.path("in.txt"), "--separator", ""});
    EXPECT_EQ(run.status, 1);
    EXPECT_TRUE(contains(run.err, "The separator must not be empty.")) << run.err;
}

TEST(Nibtool, CheckReportsWhatIsWrong) {
    ScratchFolder folder;
    write_bytes(folder.path("good.nib"), example_pad);
    ToolRun run = run_nibtool_program(folder, {"check", folder.path("good.nib")});
    EXPECT_EQ(run.status, 0);
    EXPECT_EQ(run.out, folder.path("good.nib") + ": 2 nibs, 1 deletion records, no problems found.\n");

    write_bytes(folder.path("bad.nib"),
                "FONT_NAME (5): Arial\n"
                "NNIBS (1): 3\n"
                "NIB0 (1): a\nID0 (36): 6f1c2a3e-5b7d-4e21-9a0b-1c2d3e4f5a6b\n"
                "NIB1 (1): b\nID1 (3): xyz\nTMOD1 (2): 12\n"
                "NIB2 (1): c\nID2 (36): 6F1C2A3E-5B7D-4E21-9A0B-1C2D3E4F5A6B\nTMOD2 (5): 1 2 3\n"
                "DEL0_ID (36): 3c4d5e6f-7a8b-4c9d-8e0f-a1b2c3d4e5f6\n");
    run = run_nibtool_program(folder, {"check", folder.path("bad.nib")});
    EXPECT_EQ(run.status, 1);
    for (const char* problem : {"the font is incomplete", "nib 0 has no stored TMOD0", "ID1 is not an id: xyz",
                                "TMOD1 is not a time of three numbers: 12",
                                "the id 6f1c2a3e-5b7d-4e21-9a0b-1c2d3e4f5a6b stands more than once (ID0 and ID2)",
                                "deletion record 0 lacks its time"})
        EXPECT_TRUE(contains(run.out, problem)) << problem << "\n" << run.out;

    // What stops the reading is reported after what was found before it.
    write_bytes(folder.path("broken.nib"), "NNIBS (1): 2\nNIB0 (1): a\nID0 (3): xyz\nTMOD0 (5): 1 2 3\n");
    run = run_nibtool_program(folder, {"check", folder.path("broken.nib")});
    EXPECT_EQ(run.status, 1);
    EXPECT_TRUE(contains(run.out, "ID0 is not an id: xyz\n")) << run.out;
    EXPECT_TRUE(contains(run.out, "Could not find the key: NIB1\n")) << run.out;
    write_bytes(folder.path("broken.nib"), "NNIBS (1): 1\nNIB0 (9): short\n");
    run = run_nibtool_program(folder, {"check", folder.path("broken.nib")});
    EXPECT_EQ(run.status, 1);
    EXPECT_TRUE(contains(run.out, "File does not match format.")) << run.out;
}

TEST(Nibtool, NewerFileIsReadButNeverRewritten) {
    ScratchFolder folder;
    const std::string pad = folder.path("new.nib");
    const std::string bytes = "FILE_VERSION (4): 1001\nNNIBS (1): 1\nNIB0 (5): fancy\nFANCY_KEY (1): x\n";
    write_bytes(pad, bytes);
    EXPECT_EQ(run_nibtool_program(folder, {"list", pad}).status, 0);
    ToolRun run = run_nibtool_program(folder, {"add", pad, "more"});
    EXPECT_EQ(run.status, 1);
    EXPECT_EQ(run.err.rfind("Newer file: ", 0), 0u) << run.err;
    EXPECT_EQ(read_bytes(pad), bytes);
}
