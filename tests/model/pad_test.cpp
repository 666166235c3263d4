#include "model/pad.h"

#include "pad_checks.h"

#include <gtest/gtest.h>

#include <sstream>

namespace {

std::vector<std::string> split(const std::string& list) {
    std::vector<std::string> parts;
    std::istringstream in(list);
    for (std::string part; std::getline(in, part, ',');) parts.push_back(part);
    return parts;
}

// Runs operations written as a comma-separated list: ">" next, "<" previous, "g3" go_to(3),
// "f:q" find("q"), "t:x" set_current_text("x"), "n" new_nib, "d" delete_current,
// "m2" move_current(2), "s" sort_alphabetically, "a:x" add_nib("x") as a load adds it.
void run(Pad& pad, const std::string& operations) {
    for (const std::string& op : split(operations)) {
        const std::string argument = op.substr(op.size() > 1 && op[1] == ':' ? 2 : 1);
        switch (op[0]) {
        case '>': pad.next(); break;
        case '<': pad.previous(); break;
        case 'g': pad.go_to(std::stoi(argument)); break;
        case 'f': pad.find(argument); break;
        case 't': pad.set_current_text(argument); break;
        case 'n': pad.new_nib(); break;
        case 'd': pad.delete_current(); break;
        case 'm': pad.move_current(std::stoi(argument)); break;
        case 's': pad.sort_alphabetically(); break;
        case 'a': pad.add_nib(argument, "", ""); break;
        default: ADD_FAILURE() << "no operation " << op;
        }
    }
}

// The pad as text: its nibs, the current one in brackets and those not found in parentheses,
// then the query after "?" and the number of deletion records after "-".
std::string shown(const Pad& pad) {
    std::string out;
    for (std::int32_t i = 0; i < pad.count(); ++i) {
        const Nib& nib = pad.nibs()[i];
        const std::string text = nib.found() ? nib.text() : "(" + nib.text() + ")";
        out += (i ? "," : "") + (i == pad.current() ? "[" + text + "]" : text);
    }
    if (!pad.find_text().empty()) out += " ?" + pad.find_text();
    if (!pad.deletions().empty()) out += " -" + std::to_string(pad.deletions().size());
    return out;
}

Pad pad_with(const std::string& texts) {
    Pad pad;
    for (const std::string& text : split(texts)) run(pad, "n,t:" + text);
    return pad;
}

TEST(PadTest, Operations) {
    const struct {
        const char* texts;
        const char* operations;
        const char* shown;
    } cases[] = {
        // New nibs: the empty nib serves as the new one; line ends become CR LF.
        {"", "n,t:one\nmore,n,n", "one\r\nmore,[]"},
        // Finding keeps a matching current nib, else the first match becomes current, else none
        // is found and the current nib stays. Paging goes through the found nibs only.
        {"fOO bar,other,foo,Food", "g3,f:Foo", "fOO bar,(other),[foo],Food ?Foo"},
        {"fOO bar,other,foo,Food", "f:Foo,g1,>,>,>,g4,g0,<,<,<", "[fOO bar],(other),foo,Food ?Foo"},
        {"fOO bar,other,foo,Food", "f:o b", "[fOO bar],(other),(foo),(Food) ?o b"},
        {"fOO bar,other,foo,Food", "f:o b,f:o  b", "[(fOO bar)],(other),(foo),(Food) ?o  b"},
        // Finding drops empty nibs but a last one; a dropped current nib hands over to the one before.
        {"a,b,c,d", "g1,t:,g3,t:,g3,f:", "[b],d -2"},
        {"a,b,c,d", "g1,t:,g3,t:,g3,f:,g1,t:,g2,t:,f:x", "[()] ?x -3"},
        // Deleting shows the nib before; the query stays; the only nib gives way to a new one.
        {"1,2,3,4,5", "g3,d", "1,[2],4,5 -1"},
        {"1,2,3,4,5", "g3,d,g1,d", "[2],4,5 -2"},
        {"x1,y,x2,x3", "f:x,g2,d", "[x1],(y),x3 ?x -1"},
        {"a,b,c,d,e", "g2,t:,g3,t:,g5,d", "a,[d] -3"},
        {"only", "d", "[] -1"},
        // Moving and sorting (by unsigned bytes) clear the query; out of range does nothing.
        {"b,B,a,ab", "f:ab,m0,g2,m3,m4,m-1", "ab,B,a,[b]"},
        {"b,\xE9,z,B,a,ab", "f:b,s", "[B],a,ab,b,z,\xE9"},
        // An added nib takes the place of an empty current nib, also of one the query did not find.
        {"", "a:first,a:,a:third", "first,[third]"},
        {"", "f:zzz,a:loaded", "[loaded] ?zzz"},
    };
    for (const auto& c : cases) {
        Pad pad = pad_with(c.texts);
        run(pad, c.operations);
        EXPECT_EQ(shown(pad), c.shown) << c.texts << " then " << c.operations;
        EXPECT_TRUE(pad_is_sound(pad)) << c.texts << " then " << c.operations;
    }
}

TEST(PadTest, EditingAndDeletingStampTheTimeNowAndMovingOrSortingDoNot) {
    Pad pad = pad_with("b,a");
    const Timestamp a_time = pad.nibs()[1].time, b_time = pad.nibs()[0].time;
    run(pad, "m0,s");
    EXPECT_EQ(pad.nibs()[0].time, a_time);
    run(pad, "g2,t:c");
    EXPECT_TRUE(b_time < pad.nibs()[1].time);
    const Timestamp before = Timestamp::now();
    run(pad, "g1,d");
    EXPECT_TRUE(before < pad.deletions().at(0).time);
}

TEST(PadTest, NotesTypedApartIntoOneSharedEmptyNibBothSurviveTheNextSynchronisation) {
    // Two pads that hold the same empty nib: two new pads synchronised, or one empty pad file read twice.
    std::vector<std::pair<Pad, Pad>> starts(2);
    Pad::synchronise(starts[0].first, starts[0].second);
    starts[1].first.add_nib("", "3c4d5e6f-7a8b-4c9d-8e0f-a1b2c3d4e5f6", "944000200 1400 2");
    starts[1].second = starts[1].first;
    for (auto& [a, b] : starts) {
        ASSERT_TRUE(uuid_equal(a.nibs()[0].id, b.nibs()[0].id));
        a.set_current_text("note A");
        b.set_current_text("note B");
        Pad::synchronise(a, b);
        EXPECT_EQ(shown(a).substr(0, shown(a).find(" -")), "[note A],note B");
        EXPECT_EQ(shown(b), shown(a));
    }
    // A text replaced on one side replaces it on the other, also when it was emptied first.
    for (const char* steps : {"t:new", "t:,t:new"}) {
        Pad a = pad_with("old"), b;
        Pad::synchronise(a, b);
        run(a, steps);
        Pad::synchronise(b, a);
        EXPECT_EQ(shown(b).substr(0, shown(b).find(" -")), "[new]") << steps;
    }
}

}  // namespace
