// Pad files as written by hand and by the program: what loads, what is written, what survives.
#include "mapfile_test_support.h"
#include "storage/pad_document.h"
#include "support/texts.h"

#include <gtest/gtest.h>

#include <regex>

namespace {

std::string replace_all(std::string text, const std::string& from, const std::string& to) {
    for (std::size_t at = text.find(from); at != std::string::npos; at = text.find(from, at + to.size()))
        text.replace(at, from.size(), to);
    return text;
}

PadDocument load_text(const ScratchFolder& folder, const std::string& bytes) {
    const std::string path = folder.path("pad.nib");
    write_bytes(path, bytes);
    return read_pad_file(path);
}

void expect_example(const PadDocument& document) {
    ASSERT_EQ(document.pad.count(), 2);
    const auto& nibs = document.pad.nibs();
    EXPECT_EQ(nibs[0].text(), "Hello");
    EXPECT_EQ(nibs[0].id_text(), "6f1c2a3e-5b7d-4e21-9a0b-1c2d3e4f5a6b");
    EXPECT_EQ(nibs[0].time_text(), "944000000 1520 1");
    EXPECT_EQ(nibs[1].text(), "Buy milk");
    EXPECT_EQ(nibs[1].time_text(), "944000100 9870 1");
    ASSERT_EQ(document.pad.deletions().size(), 1u);
    EXPECT_EQ(document.pad.deletions()[0].id_text(), "3c4d5e6f-7a8b-4c9d-8e0f-a1b2c3d4e5f6");
    EXPECT_EQ(document.pad.deletions()[0].time_text(), "944000200 1400 2");
    EXPECT_EQ(document.pad.current(), 0);
    EXPECT_EQ(document.pad.found_count(), 2);
}

bool looks_like_uuid(const std::string& text) {
    return std::regex_match(text, std::regex("[0-9a-f]{8}-[0-9a-f]{4}-[0-9a-f]{4}-[0-9a-f]{4}-[0-9a-f]{12}"));
}

}  // namespace

TEST(PadFile, WorkedExampleLoadsAndIsWrittenBackByteForByte) {
    ScratchFolder folder;
    PadDocument document = load_text(folder, example_pad);
    expect_example(document);
    EXPECT_EQ(document.header.placement, (WindowPlacement{100, 80, 400, 450}));
    EXPECT_EQ(document.header.font, (PadFont{"MS Sans Serif", 11}));
    EXPECT_EQ(document.header.version, 1000);
    EXPECT_FALSE(document.header.newer());

    write_pad_file(folder.path("copy.nib"), document.header, document.pad);
    EXPECT_EQ(read_bytes(folder.path("copy.nib")), example_pad);
}

TEST(PadFile, CarriageReturnVariantsLoadAlike) {
    ScratchFolder folder;
    // Records ending in CR LF, and a CR LF instead of the blank after a head.
    expect_example(load_text(folder, replace_all(example_pad, "\n", "\r\n")));
    expect_example(load_text(folder, replace_all(example_pad, "): ", "):\r\n")));
    // Bare line feeds inside a hand-written value become pairs.
    EXPECT_EQ(load_text(folder, "NNIBS (1): 1\nNIB0 (3): a\nb\n").pad.nibs()[0].text(), "a\r\nb");
}

TEST(PadFile, MissingOptionalKeysTakeDefaults) {
    ScratchFolder folder;
    PadDocument document = load_text(folder, "NNIBS (1): 1\nNIB0 (3): one\n");
    EXPECT_FALSE(document.header.placement);
    EXPECT_FALSE(document.header.font);
    EXPECT_FALSE(document.header.version);
    ASSERT_EQ(document.pad.count(), 1);
    EXPECT_EQ(document.pad.nibs()[0].text(), "one");
    EXPECT_TRUE(looks_like_uuid(document.pad.nibs()[0].id_text()));

    // Part of the placement or of the font counts as none of it.
    document = load_text(folder, "WIN_LEFT (1): 5\nFONT_NAME (5): Arial\nNNIBS (1): 0\n");
    EXPECT_FALSE(document.header.placement);
    EXPECT_FALSE(document.header.font);
    ASSERT_EQ(document.pad.count(), 1);
    EXPECT_EQ(document.pad.nibs()[0].text(), "");
}

TEST(PadFile, NibWithoutBothStampKeysGetsNewIdentity) {
    ScratchFolder folder;
    PadDocument document = load_text(folder,
                                     "NNIBS (1): 3\n"
                                     "NIB0 (1): a\nID0 (36): 6f1c2a3e-5b7d-4e21-9a0b-1c2d3e4f5a6b\n"
                                     "NIB1 (1): b\nTMOD1 (5): 1 2 3\n"
                                     "NIB2 (1): c\nID2 (36): 0b9d8c7e-6f5a-4b3c-8d2e-1f0a9b8c7d6e\nTMOD2 (5): 1 2 3\n");
    const auto& nibs = document.pad.nibs();
    ASSERT_EQ(nibs.size(), 3u);
    EXPECT_NE(nibs[0].id_text(), "6f1c2a3e-5b7d-4e21-9a0b-1c2d3e4f5a6b");
    EXPECT_NE(nibs[0].time_text(), "1 2 3");
    EXPECT_NE(nibs[1].time_text(), "1 2 3");
    EXPECT_EQ(nibs[2].id_text(), "0b9d8c7e-6f5a-4b3c-8d2e-1f0a9b8c7d6e");
    EXPECT_EQ(nibs[2].time_text(), "1 2 3");
}

TEST(PadFile, NewerVersionIsReportedButStillLoads) {
    ScratchFolder folder;
    PadDocument document = load_text(folder, "FILE_VERSION (4): 1001\nNNIBS (1): 1\nNIB0 (1): x\n");
    EXPECT_TRUE(document.header.newer());
    EXPECT_EQ(document.pad.nibs()[0].text(), "x");
    // Written back, it is a file of this version.
    write_pad_file(folder.path("back.nib"), document.header, document.pad);
    EXPECT_EQ(read_pad_file(folder.path("back.nib")).header.version, pad_file_version);
}

TEST(PadFile, FailedLoadLeavesThePadAsItWas) {
    ScratchFolder folder;
    const std::string broken[] = {
        "NNIBS (1): 2\nNIB0 (1): a\n",                           // NIB1 missing
        "NIB0 (1): a\n",                                         // NNIBS missing
        "NNIBS (1): 1\nNIB0 (1): a\nID0 (4): nope\nTMOD0 (5): 1 2 3\n",  // not an id
        "NNIBS (1): 1\nNIB0 (1): a\nrubbish\n",                  // not a record
    };
    for (const std::string& bytes : broken) {
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
    pad.set_current_text("first\nline two");
    pad.new_nib();
    pad.set_current_text("NIB0 (5): looks like a record\r\n)(:");
    pad.new_nib();
    pad.set_current_text("gone");
    pad.delete_current();
    pad.new_nib();
    pad.set_current_text(std::string("\xe9t\xe9 \x80", 5));

    const PadFileHeader header{WindowPlacement{-3, 7, 640, 480}, PadFont{"Courier New", 13}, std::nullopt};
    write_pad_file(folder.path("pad.nib"), header, pad);
    PadDocument loaded = read_pad_file(folder.path("pad.nib"));

    EXPECT_EQ(loaded.header.placement, header.placement);
    EXPECT_EQ(loaded.header.font, header.font);
    EXPECT_EQ(loaded.header.version, pad_file_version);
    ASSERT_EQ(loaded.pad.count(), pad.count());
    for (int i = 0; i < pad.count(); ++i) {
        const Nib &a = pad.nibs()[i], &b = loaded.pad.nibs()[i];
        EXPECT_EQ(a.text(), b.text());
        EXPECT_EQ(a.id_text(), b.id_text());
        EXPECT_EQ(a.time_text(), b.time_text());
    }
    EXPECT_EQ(loaded.pad.deletions(), pad.deletions());
    ASSERT_EQ(loaded.pad.deletions().size(), 1u);
    // The line break is stored as CR LF and counted as two bytes.
    EXPECT_NE(read_bytes(folder.path("pad.nib")).find("NIB0 (15): first\r\nline two\n"), std::string::npos);
}
