// Nib texts to text files and back, and the separator that joins them.
#include "mapfile_test_support.h"
#include "model/pad.h"
#include "storage/import_progress.h"
#include "storage/separator.h"
#include "support/texts.h"

#include <gtest/gtest.h>

#include <stdexcept>

namespace {

std::vector<std::string> texts_of(const Pad& pad) {
    std::vector<std::string> result;
    for (const Nib& nib : pad.nibs()) result.push_back(nib.text());
    return result;
}

Pad pad_with(const std::vector<std::string>& nib_texts) {
    Pad pad;
    for (const std::string& text : nib_texts) {
        pad.new_nib();
        pad.set_current_text(text);
    }
    return pad;
}

Pad imported(const ScratchFolder& folder, const std::string& bytes, const std::string& separator = default_separator) {
    write_bytes(folder.path("in.txt"), bytes);
    Pad pad;
    pad.import_text(folder.path("in.txt"), separator);
    return pad;
}

struct RecordedProgress : ImportProgress {
    void begin(const std::string& title, const std::string& label) override {
        ++begun;
        this->title = title;
        this->label = label;
    }
    void report(double fraction) override {
        if (throw_on_report) throw std::runtime_error("stop");
        fractions.push_back(fraction);
    }
    void end() override { ++ended; }

    int begun = 0, ended = 0;
    bool throw_on_report = false;
    std::string title, label;
    std::vector<double> fractions;
};

const std::string dashes(30, '-');

}  // namespace

TEST(Separator, LineBreaksMatchInEveryForm) {
    EXPECT_EQ(separator_match("\n--\n", "\r\n--\r\nx"), 6u);
    EXPECT_EQ(separator_match("\n--\n", "\n--\nx"), 4u);
    EXPECT_EQ(separator_match("\n--\n", "\r--\rx"), 4u);
    EXPECT_EQ(separator_match("\r\n--", "\n--"), 3u);
    EXPECT_EQ(separator_match("\r--", "\n--"), 3u);
    EXPECT_EQ(separator_match("a\tB", "a\tB"), 3u);
    // Case, tabs and blanks must match exactly, and nothing past the end is read.
    EXPECT_EQ(separator_match("a\tB", "a\tb"), 0u);
    EXPECT_EQ(separator_match("a\tB", "a B"), 0u);
    EXPECT_EQ(separator_match("\n--\n", "\r\n--"), 0u);
    EXPECT_EQ(separator_match("ab", "a"), 0u);
}

TEST(Separator, TypedFormRoundTrips) {
    EXPECT_EQ(encode_separator(default_separator), "\\n\\n" + dashes + "\\n\\n");
    EXPECT_EQ(decode_separator(encode_separator(default_separator)), default_separator);
    EXPECT_EQ(decode_separator("a\\tb"), "a\tb");
    EXPECT_EQ(decode_separator("\\x\\\\ n\\"), "x\\ n");
    EXPECT_EQ(decode_separator("a\r\\n"), "a\n");
    EXPECT_EQ(default_separator.size(), 34u);
}

TEST(TextExport, FoundNibsJoinedBySeparatorWithSingleLineBreaks) {
    ScratchFolder folder;
    Pad pad = pad_with({"one", "two\nlines", "three 100%s"});
    pad.export_text(folder.path("out.txt"), default_separator, 0);
    const std::string joint = "\r\n\r\n" + dashes + "\r\n\r\n";
    EXPECT_EQ(read_bytes(folder.path("out.txt")), "one" + joint + "two\r\nlines" + joint + "three 100%s");

    pad.find("T");
    pad.export_text(folder.path("found.txt"), "|", 0);
    EXPECT_EQ(read_bytes(folder.path("found.txt")), "two\r\nlines|three 100%s");
    pad.export_text(folder.path("all.txt"), "|", 1);
    EXPECT_EQ(read_bytes(folder.path("all.txt")), "one|two\r\nlines|three 100%s");

    pad.find("nothing like it");
    pad.export_text(folder.path("none.txt"), "|", 0);
    EXPECT_EQ(read_bytes(folder.path("none.txt")), "");
}

TEST(TextExport, UncreatableTargetIsAnExportError) {
    ScratchFolder folder;
    const std::string path = folder.path("missing-folder/out.txt");
    msg_exception error = thrown_by<msg_exception>([&] { Pad().export_text(path, "|", 1); });
    EXPECT_EQ(error.text.rfind(fill_message(texts.export_failed, path) + ": ", 0), 0u) << error.text;
    EXPECT_GT(error.text.size(), fill_message(texts.export_failed, path).size() + 2);
    EXPECT_EQ(error.title, texts.export_error);
    EXPECT_EQ(error.style, style_stop);
}

#ifdef __linux__
TEST(TextExport, FailedWriteIsReported) {
    msg_exception error = thrown_by<msg_exception>([] { pad_with({"text"}).export_text("/dev/full", "|", 1); });
    EXPECT_EQ(error.text.rfind(fill_message(texts.export_failed, "/dev/full") + ": ", 0), 0u) << error.text;
    EXPECT_EQ(error.title, texts.export_error);
}
#endif

TEST(TextImport, ExportedPadImportsAsTheSameNibs) {
    ScratchFolder folder;
    pad_with({"one", "two\nlines", "three"}).export_text(folder.path("out.txt"), default_separator, 1);
    Pad pad;
    pad.import_text(folder.path("out.txt"), default_separator);
    EXPECT_EQ(texts_of(pad), (std::vector<std::string>{"one", "two\r\nlines", "three"}));
    EXPECT_EQ(pad.current(), 2);
    EXPECT_EQ(pad.found_count(), 3);
}

TEST(TextImport, PiecesAreCutAtTheSeparatorInAnyLineBreakForm) {
    ScratchFolder folder;
    const std::vector<std::string> expected{"a", "b", "c"};
    EXPECT_EQ(texts_of(imported(folder, "a\n\n" + dashes + "\n\nb\r\n\r\n" + dashes + "\r\n\r\nc")), expected);
    EXPECT_EQ(texts_of(imported(folder, "a%%b%%c", "%%")), expected);
    // Leading, doubled and trailing separators leave no empty nibs.
    EXPECT_EQ(texts_of(imported(folder, "%%a%%%%b%%c%%", "%%")), expected);
    EXPECT_EQ(texts_of(imported(folder, "no separator\nhere")), std::vector<std::string>{"no separator\r\nhere"});
    EXPECT_EQ(texts_of(imported(folder, std::string("x\0y;z", 5), ";")), (std::vector<std::string>{"x", "z"}));
    // A separator longer than the rest of the file is not looked for there.
    EXPECT_EQ(texts_of(imported(folder, "a;;", ";;;")), std::vector<std::string>{"a;;"});
}

TEST(TextImport, PiecesAreAppendedAfterExistingNibs) {
    ScratchFolder folder;
    write_bytes(folder.path("in.txt"), "x;y");
    Pad pad = pad_with({"kept"});
    pad.import_text(folder.path("in.txt"), ";");
    EXPECT_EQ(texts_of(pad), (std::vector<std::string>{"kept", "x", "y"}));
}

TEST(TextImport, EmptyFileAddsNothing) {
    ScratchFolder folder;
    EXPECT_EQ(texts_of(imported(folder, "")), std::vector<std::string>{""});
}

TEST(TextImport, MissingFileIsAnImportError) {
    ScratchFolder folder;
    const std::string path = folder.path("nowhere.txt");
    msg_exception error = thrown_by<msg_exception>([&] { Pad().import_text(path, ";"); });
    EXPECT_EQ(error.text.rfind(fill_message(texts.import_failed, path) + ": ", 0), 0u) << error.text;
    EXPECT_EQ(error.title, texts.import_error);
    EXPECT_EQ(error.style, style_stop);
}

TEST(TextImport, ProgressOnlyAboveThresholdAndSpacedOut) {
    ScratchFolder folder;
    auto file_of = [](std::size_t size) {
        std::string bytes(size, 'x');
        for (std::size_t at = 100; at + 1 < size; at += 100) bytes[at] = ';';
        return bytes;
    };

    write_bytes(folder.path("small.txt"), file_of(import_progress_threshold));
    RecordedProgress small;
    Pad().import_text(folder.path("small.txt"), ";", &small);
    EXPECT_EQ(small.begun, 0);
    EXPECT_EQ(small.ended, 0);

    write_bytes(folder.path("large.txt"), file_of(import_progress_threshold + 1));
    RecordedProgress large;
    Pad().import_text(folder.path("large.txt"), ";", &large);
    EXPECT_EQ(large.begun, 1);
    EXPECT_EQ(large.ended, 1);
    EXPECT_EQ(large.title, texts.importing_title);
    EXPECT_EQ(large.label, texts.importing_label);
    ASSERT_EQ(large.fractions.size(), 2u);  // past 20000 and past 40000 bytes
    const double size = static_cast<double>(import_progress_threshold + 1);
    EXPECT_GT(large.fractions[0] * size, static_cast<double>(import_progress_step));
    EXPECT_GT((large.fractions[1] - large.fractions[0]) * size, static_cast<double>(import_progress_step));

    RecordedProgress failing;
    failing.throw_on_report = true;
    EXPECT_THROW(Pad().import_text(folder.path("large.txt"), ";", &failing), std::runtime_error);
    EXPECT_EQ(failing.ended, 1);
}
