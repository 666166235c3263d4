// A pad written back to a file that something else changed since it was read.
#include "mapfile_test_support.h"
#include "storage/pad_file_merge.h"

#include <gtest/gtest.h>

#include <algorithm>

namespace {

using Strings = std::vector<std::string>;

Strings sorted_texts(const Pad& pad) {
    Strings texts;
    for (const Nib& nib : pad.nibs()) texts.push_back(nib.text());
    std::sort(texts.begin(), texts.end());
    return texts;
}

void add(Pad& pad, const std::string& text) {
    pad.go_to(pad.found_count());
    pad.new_nib();
    pad.set_current_text(text);
}

}  // namespace

TEST(PadFileMerge, ChangesWrittenElsewhereAreMergedBeforeTheFileIsWritten) {
    ScratchFolder folder;
    const std::string path = folder.path("pad.nib");
    Pad original;
    original.set_current_text("shared");
    write_pad_file(path, {}, original);

    FileSignature known = file_signature(path);
    EXPECT_TRUE(known.exists);
    Pad mine = read_pad_file(path).pad;
    Pad unchanged = mine;
    EXPECT_FALSE(merge_file_changes(path, unchanged, known, NewerFile::skip)) << "an unchanged file holds nothing new";

    // Another program adds a nib and replaces the file between this program's read and its write.
    PadDocument theirs = read_pad_file(path);
    add(theirs.pad, "written elsewhere");
    write_pad_file(path, {}, theirs.pad);
    EXPECT_NE(file_signature(path), known);
    add(mine, "written here");
    EXPECT_TRUE(save_merging(path, {}, mine, known));
    EXPECT_EQ(known, file_signature(path)) << "the signature follows the file as written";
    const Strings all = {"shared", "written elsewhere", "written here"};
    EXPECT_EQ(sorted_texts(mine), all);
    EXPECT_EQ(sorted_texts(read_pad_file(path).pad), all);

    // A file cut in half is no pad: nothing of this pad is dropped, and a save writes it whole.
    const std::string bytes = read_bytes(path);
    write_bytes(path, bytes.substr(0, bytes.size() / 2));
    EXPECT_FALSE(merge_file_changes(path, mine, known, NewerFile::skip));
    EXPECT_EQ(sorted_texts(mine), all);
    EXPECT_FALSE(save_merging(path, {}, mine, known));
    EXPECT_EQ(sorted_texts(read_pad_file(path).pad), all);

    // A file that a newer version rewrote is merged only with the user's word, and never written
    // over by a save that merges.
    PadDocument newer = read_pad_file(path);
    add(newer.pad, "written by a newer version");
    write_pad_file(path, {}, newer.pad);
    std::string future = read_bytes(path);
    future.replace(future.find("FILE_VERSION (4): 1000"), 22, "FILE_VERSION (4): 1001");
    write_bytes(path, future);
    EXPECT_TRUE(written_by_newer_version(path));
    EXPECT_FALSE(merge_file_changes(path, mine, known, NewerFile::skip));
    EXPECT_EQ(sorted_texts(mine), all);
    EXPECT_THROW(save_merging(path, {}, mine, known), msg_exception);
    EXPECT_EQ(read_bytes(path), future);
    EXPECT_TRUE(merge_file_changes(path, mine, known, NewerFile::take));
    EXPECT_EQ(sorted_texts(mine).size(), 4u);

    // Same size and time but other bytes still count as a change.
    FileSignature touched = known;
    touched.hash ^= 1;
    EXPECT_NE(file_signature(path), touched);
    std::filesystem::remove(path);
    EXPECT_FALSE(file_signature(path).exists);
}
