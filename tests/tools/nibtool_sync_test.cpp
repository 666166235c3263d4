// Synchronising pad files with nibtool: sync of two copies and the git merge driver.
#include "nibtool_runner.h"
#include "storage/pad_document.h"

#include <gtest/gtest.h>

#ifndef _WIN32
#include <sys/wait.h>
#endif

namespace {

// The pad's content as one comparable text: every nib's id, time and text, then the deletion records.
std::string content_of(const Pad& pad) {
    std::string text;
    for (const Nib& nib : pad.nibs()) text += nib.id_text() + ' ' + nib.time_text() + ' ' + nib.text() + '\n';
    text += "deleted:\n";
    for (const SyncStamp& record : pad.deletions()) text += record.id_text() + ' ' + record.time_text() + '\n';
    return text;
}

std::vector<std::string> texts_of(const Pad& pad) {
    std::vector<std::string> result;
    for (const Nib& nib : pad.nibs()) result.push_back(nib.text());
    return result;
}

// Changes a copy of the pad file at `path` through the library, as the program would.
template <typename Edit>
void edit(const std::string& path, Edit change) {
    PadDocument document = read_pad_file(path);
    change(document.pad);
    write_pad_file(path, document.header, document.pad);
}

void write_base(const std::string& path, const WindowPlacement& placement) {
    Pad pad;
    for (const char* text : {"one", "two", "three", "four"}) {
        pad.new_nib();
        pad.set_current_text(text);
    }
    write_pad_file(path, PadFileHeader{placement, PadFont{"Arial", 12}, std::nullopt}, pad);
}

}  // namespace

TEST(NibtoolSync, TwoEditedCopiesEndIdenticalAndStayThatWay) {
    ScratchFolder folder;
    const std::string a = folder.path("a.nib"), b = folder.path("b.nib");
    write_base(a, WindowPlacement{10, 20, 300, 400});
    std::filesystem::copy_file(a, b);
    // The same nibs, but each file its own window.
    PadDocument copy = read_pad_file(b);
    copy.header.placement = WindowPlacement{500, 600, 700, 800};
    write_pad_file(b, copy.header, copy.pad);

    edit(a, [](Pad& pad) {
        pad.go_to(1);
        pad.set_current_text("one, changed in a");
        pad.go_to(2);
        pad.delete_current();  // "two"
        pad.new_nib();
        pad.set_current_text("new in a");
        pad.new_nib();  // left empty
    });
    edit(b, [](Pad& pad) {
        pad.go_to(3);
        pad.set_current_text("three, changed in b");
        pad.go_to(4);
        pad.delete_current();  // "four"
        pad.new_nib();
        pad.set_current_text("new in b");
    });

    ToolRun run = run_nibtool_program(folder, {"sync", a, b});
    ASSERT_EQ(run.status, 0) << run.err;
    PadDocument synced_a = read_pad_file(a), synced_b = read_pad_file(b);
    EXPECT_EQ(content_of(synced_a.pad), content_of(synced_b.pad));
    EXPECT_EQ(texts_of(synced_a.pad),
              (std::vector<std::string>{"one, changed in a", "three, changed in b", "new in a", "new in b"}));
    EXPECT_EQ(synced_a.pad.deletions().size(), 3u);  // two, four and the empty nib
    EXPECT_EQ(synced_a.header.placement, (WindowPlacement{10, 20, 300, 400}));
    EXPECT_EQ(synced_b.header.placement, (WindowPlacement{500, 600, 700, 800}));

    const std::string bytes_a = read_bytes(a), bytes_b = read_bytes(b);
    run = run_nibtool_program(folder, {"sync", a, b});
    ASSERT_EQ(run.status, 0) << run.err;
    EXPECT_EQ(read_bytes(a), bytes_a);
    EXPECT_EQ(read_bytes(b), bytes_b);
}

TEST(NibtoolSync, MergeDriverWritesOursOnly) {
    ScratchFolder folder;
    const std::string base = folder.path("base.nib"), ours = folder.path("ours.nib"), theirs = folder.path("theirs.nib");
    write_base(base, WindowPlacement{1, 2, 3, 4});
    std::filesystem::copy_file(base, ours);
    std::filesystem::copy_file(base, theirs);
    edit(ours, [](Pad& pad) {
        pad.go_to(1);
        pad.set_current_text("ours");
    });
    edit(theirs, [](Pad& pad) {
        pad.go_to(2);
        pad.delete_current();
        pad.new_nib();
        pad.set_current_text("theirs");
    });
    const std::string theirs_bytes = read_bytes(theirs);

    ToolRun run = run_nibtool_program(folder, {"merge", base, ours, theirs});
    ASSERT_EQ(run.status, 0) << run.err;
    EXPECT_EQ(texts_of(read_pad_file(ours).pad), (std::vector<std::string>{"ours", "three", "four", "theirs"}));
    EXPECT_EQ(read_bytes(theirs), theirs_bytes);

    run = run_nibtool_program(folder, {"merge", base, ours, folder.path("missing.nib")});
    EXPECT_EQ(run.status, 1);
}
