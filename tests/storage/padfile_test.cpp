// Pad files written by hand, by the program and by another program meanwhile, their recovery
// files, and nib texts to text files and back.
#include "mapfile_test_support.h"
#include "storage/import_progress.h"
#include "storage/pad_document.h"
#include "storage/pad_file_merge.h"
#include "storage/recovery_file.h"
#include "storage/separator.h"
#include "support/texts.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <functional>

namespace {

using Strings = std::vector<std::string>;

// Every nib's id, time and text, then the deletion records.
std::string content_of(const Pad& pad) {
    std::string text;
    for (const Nib& nib : pad.nibs()) text += nib.id_text() + ' ' + nib.time_text() + ' ' + nib.text() + '\n';
    for (const SyncStamp& record : pad.deletions()) text += "deleted " + record.id_text() + ' ' + record.time_text() + '\n';
    return text;
}

Strings texts_of(const Pad& pad) {
    Strings result;
    for (const Nib& nib : pad.nibs()) result.push_back(nib.text());
    return result;
}

// The sorted texts of the nibs that hold any.
Strings typed_texts(const Pad& pad) {
    Strings texts = texts_of(pad);
    std::sort(texts.begin(), texts.end());
    std::erase(texts, "");
    return texts;
}

void add_nib(Pad& pad, const std::string& text) {
    pad.new_nib();
    pad.set_current_text(text);
}

Pad pad_with(const Strings& texts) {
    Pad pad;
    for (const std::string& text : texts) add_nib(pad, text);
    return pad;
}

void edit(Pad& pad, std::int32_t position, const std::string& text) {
    pad.go_to(position);
    pad.set_current_text(text);
}

class PadFile : public ::testing::Test {
protected:
    PadDocument load(const std::string& bytes) {
        write_bytes(file, bytes);
        return read_pad_file(file);
    }
    ScratchFolder folder;
    std::string file = folder.path("pad.nib");
};

const std::string id0 = "6f1c2a3e-5b7d-4e21-9a0b-1c2d3e4f5a6b", id1 = "0b9d8c7e-6f5a-4b3c-8d2e-1f0a9b8c7d6e";
const std::string dashes(30, '-');

}  // namespace

// Line ends other than LF are the reader's, checked by mapfile_test.
TEST_F(PadFile, WorkedExampleLoadsAndIsWrittenBackByteForByte) {
    PadDocument document = load(example_pad);
    EXPECT_EQ(content_of(document.pad), id0 + " 944000000 1520 1 Hello\n" + id1 + " 944000100 9870 1 Buy milk\n" +
                                            "deleted 3c4d5e6f-7a8b-4c9d-8e0f-a1b2c3d4e5f6 944000200 1400 2\n");
    EXPECT_EQ(document.pad.current(), 0);
    EXPECT_EQ(document.pad.found_count(), 2);
    EXPECT_EQ(document.header.placement, (WindowPlacement{100, 80, 400, 450}));
    EXPECT_EQ(document.header.font, (PadFont{"MS Sans Serif", 11}));
    EXPECT_FALSE(document.header.newer());
    write_pad_file(folder.path("copy.nib"), document.header, document.pad);
    EXPECT_EQ(read_bytes(folder.path("copy.nib")), example_pad);
    // Bare line feeds inside a hand-written value become pairs.
    EXPECT_EQ(load("NNIBS (1): 1\nNIB0 (3): a\nb\n").pad.current_text(), "a\r\nb");
}

TEST_F(PadFile, MissingOptionalKeysTakeDefaultsAndNewerFilesLoad) {
    // Part of the placement or of the font counts as none of it; no nib at all gives one empty nib.
    PadDocument document = load("WIN_LEFT (1): 5\nFONT_NAME (5): Arial\nNNIBS (1): 0\n");
    EXPECT_FALSE(document.header.placement || document.header.font || document.header.version);
    EXPECT_EQ(texts_of(document.pad), Strings{""});

    // A nib without both its id and its time gets a new identity.
    document = load("FILE_VERSION (4): 1001\nNNIBS (1): 2\nNIB0 (1): a\nID0 (36): " + id0 +
                    "\nNIB1 (1): c\nID1 (36): " + id1 + "\nTMOD1 (5): 1 2 3\n");
    const auto& nibs = document.pad.nibs();
    ASSERT_EQ(nibs.size(), 2u);
    EXPECT_NE(nibs[0].id_text(), id0);
    EXPECT_EQ(nibs[1].id_text() + ' ' + nibs[1].time_text() + ' ' + nibs[1].text(), id1 + " 1 2 3 c");
    // A deletion record cut in half is none; where the reader ends a cut file is mapfile_test's.
    const std::string whole = example_pad;
    const PadDocument cut = load(whole.substr(0, whole.find("DEL0_TS")));
    EXPECT_EQ(texts_of(cut.pad), (Strings{"Hello", "Buy milk"}));
    EXPECT_TRUE(cut.pad.deletions().empty());
    // A newer file loads and is written back as a file of this version.
    EXPECT_TRUE(document.header.newer());
    write_pad_file(file, document.header, document.pad);
    EXPECT_EQ(read_pad_file(file).header.version, pad_file_version);
}

TEST_F(PadFile, FailedLoadLeavesThePadAsItWas) {
    for (const char* bytes : {
             "NNIBS (1): 2\nNIB0 (1): a\n",                                   // NIB1 missing
             "NIB0 (1): a\n",                                                 // NNIBS missing
             "NNIBS (1): 1\nNIB0 (1): a\nID0 (4): nope\nTMOD0 (5): 1 2 3\n",  // not an id
             "NNIBS (1): 1\nNIB0 (1): a\nrub bish\n",                         // not a record
         }) {
        write_bytes(file, bytes);
        Pad pad = pad_with({"kept"});
        EXPECT_THROW(PadFileReader(file).read_pad(pad), msg_exception) << bytes;
        EXPECT_EQ(texts_of(pad), Strings{"kept"});
    }
}

// Also checked through the window by synced_file_test (merging on a save, a cut file) and
// modal_safety_test (a newer file), and through nibtool_test (a newer file is never rewritten).
TEST_F(PadFile, ChangesWrittenElsewhereAreMergedBeforeTheFileIsWritten) {
    Pad original = pad_with({"shared"});
    write_pad_file(file, {}, original);
    FileSignature known = file_signature(file);
    Pad mine = read_pad_file(file).pad;
    EXPECT_FALSE(merge_file_changes(file, mine, known, NewerFile::skip)) << "an unchanged file holds nothing new";

    // Another program adds a nib between this program's read and its write.
    PadDocument theirs = read_pad_file(file);
    add_nib(theirs.pad, "written elsewhere");
    write_pad_file(file, {}, theirs.pad);
    add_nib(mine, "written here");
    EXPECT_TRUE(save_merging(file, {}, mine, known));
    EXPECT_EQ(known, file_signature(file)) << "the signature follows the file as written";
    const Strings all = {"shared", "written elsewhere", "written here"};
    EXPECT_EQ(typed_texts(mine), all);
    EXPECT_EQ(typed_texts(read_pad_file(file).pad), all);

    // Same size and time but other bytes still count as a change.
    FileSignature touched = known;
    touched.hash ^= 1;
    EXPECT_NE(file_signature(file), touched);
    std::filesystem::remove(file);
    EXPECT_FALSE(file_signature(file).exists);
}

// A new nib and a deletion come back through the real program in recovery_test.
TEST_F(PadFile, RecoveryHoldsExactlyTheChangesSinceTheLastLoadOrSave) {
    struct Case {
        const char* name;
        std::function<void(Pad&, const std::string& path)> change;
        std::string pending;  // typed into the current nib, not committed
        Strings texts;
    };
    const Case cases[] = {
        {"typing not yet committed", [](Pad& p, auto&) { p.go_to(3); }, "c typed", {"c typed"}},
        {"a save forgets what it wrote", [](Pad& p, auto& path) {
             edit(p, 1, "a2"), p.go_to(3), p.delete_current();
             write_pad_file(path, {}, p), p.mark_saved();
             edit(p, 1, "a3");
         }, "", {"a3"}},
        {"a merge from the file adds nothing", [](Pad& p, auto& path) {
             FileSignature known = file_signature(path);
             edit(p, 1, "a2");
             PadDocument elsewhere = read_pad_file(path);
             elsewhere.pad.go_to(3), elsewhere.pad.delete_current();
             edit(elsewhere.pad, 2, "x");
             write_pad_file(path, {}, elsewhere.pad);
             merge_file_changes(path, p, known, NewerFile::skip);
         }, "", {"a2"}},
    };
    const std::string recovery = folder.path("recovery.nib");
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        Pad original = pad_with({"a", "b", "c"});
        write_pad_file(file, {}, original);
        Pad pad = read_pad_file(file).pad;
        c.change(pad, file);
        const Pad before = pad;
        write_recovery(recovery, file, pad, c.pending.empty() ? nullptr : &c.pending);
        EXPECT_EQ(typed_texts(pad), typed_texts(before)) << "the pending text stays uncommitted";

        RecoveredPad back = read_recovery(recovery);
        EXPECT_EQ(back.pad_path, file);
        EXPECT_EQ(typed_texts(back.changes), c.texts);
        EXPECT_TRUE(back.changes.deletions().empty()) << "a deletion the save or the file holds is no change";

        // Taken into the pad as its file holds it, the changes come back and stay changes.
        PadDocument reopened = read_pad_file(file);
        reopened.pad.take_changes(std::move(back.changes));
        Pad expected = before;
        if (!c.pending.empty()) expected.set_current_text(c.pending);
        EXPECT_EQ(typed_texts(reopened.pad), typed_texts(expected));
        write_recovery(recovery, file, reopened.pad, nullptr);
        EXPECT_EQ(typed_texts(read_recovery(recovery).changes), c.texts);
    }
}

TEST(Separator, MatchesLineBreaksInEveryFormAndRoundTripsItsTypedForm) {
    const struct {
        const char *separator, *text;
        std::size_t matched;
    } cases[] = {
        {"\n--\n", "\r\n--\r\nx", 6}, {"\n--\n", "\n--\nx", 4}, {"\n--\n", "\r--\rx", 4}, {"\r\n--", "\n--", 3},
        {"\r--", "\n--", 3},          {"a\tB", "a\tB", 3},
        // Case, tabs and blanks must match exactly, and nothing past the end is read.
        {"a\tB", "a\tb", 0}, {"a\tB", "a B", 0}, {"\n--\n", "\r\n--", 0}, {"ab", "a", 0},
    };
    for (const auto& c : cases) EXPECT_EQ(separator_match(c.separator, c.text), c.matched) << c.text;
    EXPECT_EQ(encode_separator(default_separator), "\\n\\n" + dashes + "\\n\\n");
    EXPECT_EQ(decode_separator(encode_separator(default_separator)), default_separator);
    EXPECT_EQ(decode_separator("\\x\\\\ n\\"), "x\\ n");
    EXPECT_EQ(decode_separator("a\r\\n\\t"), "a\n\t");
}

// The found nibs with the separator as shown, and reading them back, are dialogs_test's.
TEST_F(PadFile, ExportWritesTheFoundNibsOrAllOfThem) {
    const std::string out = folder.path("out.txt");
    Pad pad = pad_with({"one", "two\nlines", "three 100%s"});
    pad.find("T");
    pad.export_text(out, "|", 0);
    EXPECT_EQ(read_bytes(out), "two\r\nlines|three 100%s");
    pad.export_text(out, "|", 1);
    EXPECT_EQ(read_bytes(out), "one|two\r\nlines|three 100%s");
}

TEST_F(PadFile, ImportCutsAtTheSeparatorInAnyLineBreakFormAndAppends) {
    const struct {
        std::string bytes, separator;
        Strings expected;
    } cases[] = {
        {"a\n\n" + dashes + "\n\nb\r\n\r\n" + dashes + "\r\n\r\nc", default_separator, {"kept", "a", "b", "c"}},
        {"%%a%%%%b%%c%%", "%%", {"kept", "a", "b", "c"}},  // no empty nibs from extra separators
        {"no separator\nhere", default_separator, {"kept", "no separator\r\nhere"}},
        {std::string("x\0y;z", 5), ";", {"kept", "x", "z"}},
        {"a;;", ";;;", {"kept", "a;;"}},  // a separator longer than the rest is not looked for there
        {"", ";", {"kept"}},
    };
    for (const auto& c : cases) {
        write_bytes(folder.path("in.txt"), c.bytes);
        Pad pad = pad_with({"kept"});
        pad.import_text(folder.path("in.txt"), c.separator);
        EXPECT_EQ(texts_of(pad), c.expected) << c.bytes;
    }
}

TEST_F(PadFile, TextFilesThatCannotBeReadOrWrittenAreReported) {
    const std::string nowhere = folder.path("missing/out.txt"), missing = folder.path("missing.txt");
    const struct {
        std::function<void()> call;
        const char *text, *title;
        std::string path;
    } cases[] = {
        {[&] { Pad().export_text(nowhere, "|", 1); }, texts.export_failed, texts.export_error, nowhere},
        {[&] { Pad().import_text(missing, ";"); }, texts.import_failed, texts.import_error, missing},
#ifdef __linux__
        {[] { pad_with({"text"}).export_text("/dev/full", "|", 1); }, texts.export_failed, texts.export_error, "/dev/full"},
#endif
    };
    for (const auto& c : cases) {
        const msg_exception error = thrown_by(c.call);
        const std::string start = std::string(c.title) + ": " + fill_message(c.text, c.path) + ": ";
        EXPECT_EQ(message_line(error).rfind(start, 0), 0u) << error.text;  // then the reason
        EXPECT_GT(message_line(error).size(), start.size() + 4);
        EXPECT_EQ(error.style, style_stop);
    }
}

// Where the progress window starts and its texts; that it shows and closes is dialogs_test's.
TEST_F(PadFile, ImportShowsProgressOnlyAboveTheThreshold) {
    struct Begun : ImportProgress {
        void begin(const std::string& title, const std::string& label) override { shown = title + ": " + label; }
        void report(double) override {}
        void end() override {}
        std::string shown;
    };
    const std::string texts_shown = std::string(texts.importing_title) + ": " + texts.importing_label;
    for (const std::size_t size : {import_progress_threshold, import_progress_threshold + 1}) {
        write_bytes(folder.path("in.txt"), std::string(size, 'x'));
        Begun progress;
        Pad().import_text(folder.path("in.txt"), ";", &progress);
        EXPECT_EQ(progress.shown, size > import_progress_threshold ? texts_shown : "") << size;
    }
}
