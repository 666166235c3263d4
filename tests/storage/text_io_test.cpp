// Nib texts to text files and back, and the separator that joins them.
#include "mapfile_test_support.h"
#include "model/pad.h"
#include "storage/import_progress.h"
#include "storage/separator.h"
#include "support/texts.h"

#include <gtest/gtest.h>

#include <stdexcept>

namespace {

using Strings = std::vector<std::string>;

Strings texts_of(const Pad& pad) {
    Strings result;
    for (const Nib& nib : pad.nibs()) result.push_back(nib.text());
    return result;
}

Pad pad_with(const Strings& nib_texts) {
    Pad pad;
    for (const std::string& text : nib_texts) {
        pad.new_nib();
        pad.set_current_text(text);
    }
    return pad;
}

struct RecordedProgress : ImportProgress {
    void begin(const std::string& title, const std::string& label) override { log += title + ": " + label + "; "; }
    void report(double fraction) override {
        if (throw_on_report) throw std::runtime_error("stop");
        fractions.push_back(fraction);
    }
    void end() override { log += "end"; }
    std::string log;
    bool throw_on_report = false;
    std::vector<double> fractions;
};

const std::string dashes(30, '-');

// The message starts with the filled text, then the system's reason.
void expect_file_error(const msg_exception& error, const char* text, const std::string& path, const char* title) {
    EXPECT_EQ(error.text.rfind(fill_message(text, path) + ": ", 0), 0u) << error.text;
    EXPECT_GT(error.text.size(), fill_message(text, path).size() + 2);
    EXPECT_EQ(error.title, title);
    EXPECT_EQ(error.style, style_stop);
}

}  // namespace

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
    EXPECT_EQ(decode_separator("a\\tb"), "a\tb");
    EXPECT_EQ(decode_separator("\\x\\\\ n\\"), "x\\ n");
    EXPECT_EQ(decode_separator("a\r\\n"), "a\n");
}

TEST(TextExport, FoundNibsJoinedBySeparatorImportAsTheSameNibs) {
    ScratchFolder folder;
    const std::string out = folder.path("out.txt");
    Pad pad = pad_with({"one", "two\nlines", "three 100%s"});
    pad.export_text(out, default_separator, 0);
    const std::string joint = "\r\n\r\n" + dashes + "\r\n\r\n";
    EXPECT_EQ(read_bytes(out), "one" + joint + "two\r\nlines" + joint + "three 100%s");
    Pad imported;
    imported.import_text(out, default_separator);
    EXPECT_EQ(texts_of(imported), (Strings{"one", "two\r\nlines", "three 100%s"}));
    EXPECT_EQ(imported.current(), 2);
    EXPECT_EQ(imported.found_count(), 3);

    pad.find("T");
    pad.export_text(out, "|", 0);
    EXPECT_EQ(read_bytes(out), "two\r\nlines|three 100%s");
    pad.export_text(out, "|", 1);
    EXPECT_EQ(read_bytes(out), "one|two\r\nlines|three 100%s");
    pad.find("nothing like it");
    pad.export_text(out, "|", 0);
    EXPECT_EQ(read_bytes(out), "");
}

TEST(TextImport, PiecesAreCutAtTheSeparatorInAnyLineBreakFormAndAppended) {
    ScratchFolder folder;
    const struct {
        std::string bytes, separator;
        Strings expected;
    } cases[] = {
        {"a\n\n" + dashes + "\n\nb\r\n\r\n" + dashes + "\r\n\r\nc", default_separator, {"kept", "a", "b", "c"}},
        {"a%%b%%c", "%%", {"kept", "a", "b", "c"}},
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

TEST(TextIo, FilesThatCannotBeReadOrWrittenAreReported) {
    ScratchFolder folder;
    const std::string nowhere = folder.path("missing-folder/out.txt"), missing = folder.path("nowhere.txt");
    expect_file_error(thrown_by([&] { Pad().export_text(nowhere, "|", 1); }), texts.export_failed, nowhere,
                      texts.export_error);
    expect_file_error(thrown_by([&] { Pad().import_text(missing, ";"); }), texts.import_failed, missing,
                      texts.import_error);
#ifdef __linux__
    expect_file_error(thrown_by([] { pad_with({"text"}).export_text("/dev/full", "|", 1); }), texts.export_failed,
                      "/dev/full", texts.export_error);
#endif
}

TEST(TextImport, ProgressOnlyAboveThresholdAndSpacedOut) {
    ScratchFolder folder;
    auto file_of = [&](std::size_t size) {
        std::string bytes(size, 'x');
        for (std::size_t at = 100; at + 1 < size; at += 100) bytes[at] = ';';
        write_bytes(folder.path("in.txt"), bytes);
        return folder.path("in.txt");
    };
    RecordedProgress small, large;
    Pad().import_text(file_of(import_progress_threshold), ";", &small);
    EXPECT_EQ(small.log, "");
    Pad().import_text(file_of(import_progress_threshold + 1), ";", &large);
    EXPECT_EQ(large.log, std::string(texts.importing_title) + ": " + texts.importing_label + "; end");
    ASSERT_EQ(large.fractions.size(), 2u);  // past 20000 and past 40000 bytes
    const double size = static_cast<double>(import_progress_threshold + 1);
    EXPECT_GT(large.fractions[0] * size, static_cast<double>(import_progress_step));
    EXPECT_GT((large.fractions[1] - large.fractions[0]) * size, static_cast<double>(import_progress_step));

    RecordedProgress failing;
    failing.throw_on_report = true;
    EXPECT_THROW(Pad().import_text(folder.path("in.txt"), ";", &failing), std::runtime_error);
    EXPECT_EQ(failing.log.substr(failing.log.size() - 3), "end");
}
