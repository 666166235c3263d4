// The recovery of a pad: only what differs from its file, and back into the pad again.
#include "mapfile_test_support.h"
#include "storage/pad_file_merge.h"
#include "storage/recovery_file.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <functional>

namespace {

using Strings = std::vector<std::string>;

Strings typed_texts(const Pad& pad) {
    Strings texts;
    for (const Nib& nib : pad.nibs())
        if (!nib.text().empty()) texts.push_back(nib.text());
    std::sort(texts.begin(), texts.end());
    return texts;
}

void edit(Pad& pad, std::int32_t position, const std::string& text) {
    pad.go_to(position);
    pad.set_current_text(text);
}

}  // namespace

TEST(RecoveryFile, HoldsExactlyTheChangesSinceTheLastLoadOrSave) {
    struct Case {
        const char* name;
        std::function<void(Pad&, const std::string& path)> change;
        const char* pending;  // typed into the current nib, not committed
        Strings texts;
        std::size_t deletions;
    };
    const Case cases[] = {
        {"nothing", [](Pad&, auto&) {}, nullptr, {}, 0},
        {"an edit", [](Pad& p, auto&) { edit(p, 2, "b2"); }, nullptr, {"b2"}, 0},
        {"a new nib", [](Pad& p, auto&) { p.go_to(3), p.new_nib(), p.set_current_text("d"); }, nullptr, {"d"}, 0},
        {"a deletion", [](Pad& p, auto&) { p.go_to(1), p.delete_current(); }, nullptr, {}, 1},
        {"a nib emptied", [](Pad& p, auto&) { edit(p, 1, ""), p.find(""); }, nullptr, {}, 1},
        {"typing not yet committed", [](Pad& p, auto&) { p.go_to(3); }, "c typed", {"c typed"}, 0},
        {"a save forgets what it wrote", [](Pad& p, auto& path) {
             edit(p, 1, "a2"), p.go_to(3), p.delete_current();
             write_pad_file(path, {}, p), p.mark_saved();
             edit(p, 1, "a3");
         }, nullptr, {"a3"}, 0},
        {"a merge from the file adds nothing", [](Pad& p, auto& path) {
             FileSignature known = file_signature(path);
             edit(p, 1, "a2");
             PadDocument elsewhere = read_pad_file(path);
             elsewhere.pad.go_to(3), elsewhere.pad.delete_current();
             edit(elsewhere.pad, 2, "x");
             write_pad_file(path, {}, elsewhere.pad);
             merge_file_changes(path, p, known, NewerFile::skip);
         }, nullptr, {"a2"}, 0},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        ScratchFolder folder;
        const std::string path = folder.path("pad.nib"), recovery = folder.path("recovery.nib");
        Pad original;
        original.set_current_text("a");
        for (const char* text : {"b", "c"}) original.new_nib(), original.set_current_text(text);
        write_pad_file(path, {}, original);
        Pad pad = read_pad_file(path).pad;
        c.change(pad, path);
        const Pad before = pad;
        const std::string pending = c.pending ? c.pending : "";
        write_recovery(recovery, path, pad, c.pending ? &pending : nullptr);
        EXPECT_EQ(typed_texts(pad), typed_texts(before)) << "the pending text stays uncommitted";

        RecoveredPad back = read_recovery(recovery);
        EXPECT_EQ(back.pad_path, path);
        EXPECT_EQ(typed_texts(back.changes), c.texts);
        EXPECT_EQ(back.changes.deletions().size(), c.deletions);

        // Taken into the pad as its file holds it, the changes come back and stay changes.
        PadDocument reopened = read_pad_file(path);
        reopened.pad.take_changes(std::move(back.changes));
        Pad expected = before;
        if (c.pending) expected.set_current_text(pending);
        EXPECT_EQ(typed_texts(reopened.pad), typed_texts(expected));
        write_recovery(recovery, path, reopened.pad, nullptr);
        EXPECT_EQ(typed_texts(read_recovery(recovery).changes), c.texts);
    }
}
