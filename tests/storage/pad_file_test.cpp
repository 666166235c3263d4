// Pad files as written by hand and by the program: what loads, what is written, what survives.
#include "mapfile_test_support.h"
#include "storage/pad_document.h"

#include <gtest/gtest.h>

namespace {

std::string replace_all(std::string text, const std::string& from, const std::string& to) {
    for (std::size_t at = text.find(from); at != std::string::npos; at = text.find(from, at + to.size()))
        text.replace(at, from.size(), to);
    return text;
}

// Every nib's id, time and text, then the deletion records.
std::string content_of(const Pad& pad) {
    std::string text;
    for (const Nib& nib : pad.nibs()) text += nib.id_text() + ' ' + nib.time_text() + ' ' + nib.text() + '\n';
    for (const SyncStamp& record : pad.deletions()) text += "deleted " + record.id_text() + ' ' + record.time_text() + '\n';
    return text;
}

PadDocument load_text(const ScratchFolder& folder, const std::string& bytes) {
    write_bytes(folder.path("pad.nib"), bytes);
    return read_pad_file(folder.path("pad.nib"));
}

const std::string id0 = "6f1c2a3e-5b7d-4e21-9a0b-1c2d3e4f5a6b", id1 = "0b9d8c7e-6f5a-4b3c-8d2e-1f0a9b8c7d6e";

}  // namespace

TEST(PadFile, WorkedExampleAndItsLineEndVariantsLoadAndAreWrittenBackByteForByte) {
    ScratchFolder folder;
    // As written, with records ending in CR LF, and with a CR LF instead of the blank after each head.
    for (const std::string& bytes : {std::string(example_pad), replace_all(example_pad, "\n", "\r\n"),
                                     replace_all(example_pad, "): ", "):\r\n")}) {
        PadDocument document = load_text(folder, bytes);
        EXPECT_EQ(content_of(document.pad), id0 + " 944000000 1520 1 Hello\n" + id1 + " 944000100 9870 1 Buy milk\n" +
                                                "deleted 3c4d5e6f-7a8b-4c9d-8e0f-a1b2c3d4e5f6 944000200 1400 2\n");
        EXPECT_EQ(document.pad.current(), 0);
        EXPECT_EQ(document.pad.found_count(), 2);
        EXPECT_EQ(document.header.placement, (WindowPlacement{100, 80, 400, 450}));
        EXPECT_EQ(document.header.font, (PadFont{"MS Sans Serif", 11}));
        EXPECT_FALSE(document.header.newer());
        write_pad_file(folder.path("copy.nib"), document.header, document.pad);
        EXPECT_EQ(read_bytes(folder.path("copy.nib")), example_pad);
    }
    // Bare line feeds inside a hand-written value become pairs.
    EXPECT_EQ(load_text(folder, "NNIBS (1): 1\nNIB0 (3): a\nb\n").pad.nibs()[0].text(), "a\r\nb");
}

TEST(PadFile, MissingOptionalKeysTakeDefaultsAndNewerFilesLoad) {
    ScratchFolder folder;
    // Part of the placement or of the font counts as none of it; no nib at all gives one empty nib.
    PadDocument document = load_text(folder, "WIN_LEFT (1): 5\nFONT_NAME (5): Arial\nNNIBS (1): 0\n");
    EXPECT_FALSE(document.header.placement);
    EXPECT_FALSE(document.header.font);
    EXPECT_FALSE(document.header.version);
    ASSERT_EQ(document.pad.count(), 1);
    EXPECT_EQ(document.pad.nibs()[0].text(), "");

    // A nib without both its id and its time gets a new identity.
    document = load_text(folder, "FILE_VERSION (4): 1001\nNNIBS (1): 4\nNIB0 (1): a\nID0 (36): " + id0 +
                                     "\nNIB1 (1): b\nTMOD1 (5): 1 2 3\nNIB2 (1): c\nID2 (36): " + id1 +
                                     "\nTMOD2 (5): 1 2 3\nNIB3 (1): d\n");
    const auto& nibs = document.pad.nibs();
    ASSERT_EQ(nibs.size(), 4u);
    EXPECT_NE(nibs[0].id_text(), id0);
    EXPECT_NE(nibs[1].time_text(), "1 2 3");
    EXPECT_EQ(nibs[2].id_text() + ' ' + nibs[2].time_text() + ' ' + nibs[2].text(), id1 + " 1 2 3 c");
    EXPECT_EQ(nibs[3].id_text().size(), 36u);
    EXPECT_NE(nibs[3].id_text(), nibs[0].id_text());

    // A newer file loads and is written back as a file of this version.
    EXPECT_TRUE(document.header.newer());
    write_pad_file(folder.path("back.nib"), document.header, document.pad);
    EXPECT_EQ(read_pad_file(folder.path("back.nib")).header.version, pad_file_version);
}

TEST(PadFile, FailedLoadLeavesThePadAsItWas) {
    ScratchFolder folder;
    for (const char* bytes : {
             "NNIBS (1): 2\nNIB0 (1): a\n",                                   // NIB1 missing
             "NIB0 (1): a\n",                                                 // NNIBS missing
             "NNIBS (1): 1\nNIB0 (1): a\nID0 (4): nope\nTMOD0 (5): 1 2 3\n",  // not an id
             "NNIBS (1): 1\nNIB0 (1): a\nrubbish\n",                          // not a record
         }) {
        write_bytes(folder.path("bad.nib"), bytes);
        Pad pad;
        pad.set_current_text("kept");
        EXPECT_THROW(PadFileReader(folder.path("bad.nib")).read_pad(pad), msg_exception) << bytes;
        ASSERT_EQ(pad.count(), 1);
        EXPECT_EQ(pad.current_text(), "kept");
    }
}

TEST(PadFile, SaveThenLoadKeepsTextsIdsTimesAndDeletions) {
    ScratchFolder folder;
    Pad pad;
    for (const std::string& text : {std::string("first\nline two"), std::string("NIB0 (5): looks like a record\r\n)(:"),
                                    std::string("gone"), std::string("\xe9t\xe9 \x80", 5)}) {
        pad.new_nib();
        pad.set_current_text(text);
    }
    pad.go_to(3);
    pad.delete_current();
    const PadFileHeader header{WindowPlacement{-3, 7, 640, 480}, PadFont{"Courier New", 13}, std::nullopt};
    write_pad_file(folder.path("pad.nib"), header, pad);
    PadDocument loaded = read_pad_file(folder.path("pad.nib"));
    EXPECT_EQ(loaded.header.placement, header.placement);
    EXPECT_EQ(loaded.header.font, header.font);
    EXPECT_EQ(loaded.header.version, pad_file_version);
    EXPECT_EQ(content_of(loaded.pad), content_of(pad));
    EXPECT_EQ(loaded.pad.deletions().size(), 1u);
    // The line break is stored as CR LF and counted as two bytes.
    EXPECT_NE(read_bytes(folder.path("pad.nib")).find("NIB0 (15): first\r\nline two\n"), std::string::npos);
}

#ifndef _WIN32
TEST(PadFile, SaveFailingAtAnyPointLeavesTheOldFileIntact) {
    ScratchFolder folder;
    const std::string path = folder.path("pad.nib");
    write_bytes(path, example_pad);
    const PadFileHeader header{WindowPlacement{1, 2, 3, 4}, PadFont{"Arial", 12}, std::nullopt};
    Pad pad;
    for (int i = 0; i < 1000; ++i) {  // large enough for the writer to flush several times
        pad.new_nib();
        pad.set_current_text("nib number " + std::to_string(i) + "\nwith a second line");
    }
    pad.delete_current();

    // Fail the save ever later until it gets through: every failure must leave the old file alone.
    std::size_t limit = 0;
    for (;; limit += 1297) {
        try {
            FileSizeLimit fail_after(limit);
            write_pad_file(path, header, pad);
            break;
        } catch (const msg_exception&) {
        }
        ASSERT_EQ(read_bytes(path), example_pad) << "limit " << limit;
        ASSERT_EQ(folder.entries(), std::vector<std::string>{"pad.nib"}) << "limit " << limit;
    }
    EXPECT_GT(limit, 100000u);  // the writer flushed several times
    EXPECT_EQ(content_of(read_pad_file(path).pad), content_of(pad));
}
#endif
