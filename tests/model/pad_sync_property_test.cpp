// Random pad histories: every operation keeps a pad sound, and synchronising two pads after any
// history leaves both with the newest version of every nib, checked against a model of the
// outcome rather than against the merge itself. A failing history prints its seed: replay it
// with --seed=N --histories=1, or run more with --histories=N.
#include "model/pad.h"

#include "pad_checks.h"
#include "storage/mapfile.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cstdlib>
#include <filesystem>
#include <functional>
#include <map>
#include <random>
#include <set>
#include <string>

namespace {

std::uint32_t first_seed = 20261206;
int histories_asked = 0;  // 0: each test's own count

// A nib, or a deletion record when `nib` is false.
struct Entry {
    std::string id;
    Timestamp time;
    std::string text;
    bool nib;
    bool operator==(const Entry&) const = default;
};
using Snapshot = std::vector<Entry>;  // the nibs in order, then the deletion records

Snapshot snapshot(const Pad& pad) {
    Snapshot s;
    for (const Nib& nib : pad.nibs()) s.push_back({nib.id_text(), nib.time, nib.text(), true});
    for (const SyncStamp& record : pad.deletions()) s.push_back({record.id_text(), record.time, {}, false});
    return s;
}

// Marks a deletion record that the synchronisation itself makes.
const Timestamp made_now = Timestamp::from_text("-2147483648 -2147483648 -2147483648");

// What both pads must hold after synchronising a with b: for every id the newest of its versions
// (a nib or a deletion), a's on equal times; a's nibs in a's order, then the others in b's, then
// the deletion records by id. Then the empty nibs go as after any find, a last one staying, each
// leaving a deletion made now.
Snapshot expected_outcome(const Snapshot& a, const Snapshot& b) {
    std::map<std::string, Entry> newest;
    for (const Snapshot* side : {&a, &b})
        for (const Entry& e : *side) {
            auto [at, added] = newest.try_emplace(e.id, e);
            if (!added && at->second.time < e.time) at->second = e;
        }
    Snapshot nibs, deletions;
    std::set<std::string> placed;
    for (const Snapshot* side : {&a, &b})
        for (const Entry& e : *side)
            if (e.nib && newest[e.id].nib && placed.insert(e.id).second) nibs.push_back(newest[e.id]);
    for (const auto& [id, version] : newest)
        if (!version.nib) deletions.push_back(version);
    const bool all_empty = std::all_of(nibs.begin(), nibs.end(), [](const Entry& e) { return e.text.empty(); });
    Snapshot out;
    for (std::size_t i = 0; i < nibs.size(); ++i) {
        if (!nibs[i].text.empty() || (all_empty && i + 1 == nibs.size()))
            out.push_back(nibs[i]);
        else
            deletions.push_back({nibs[i].id, made_now, {}, false});
    }
    std::sort(deletions.begin(), deletions.end(), [](const Entry& x, const Entry& y) { return x.id < y.id; });
    out.insert(out.end(), deletions.begin(), deletions.end());
    return out;
}

// Saves a pad to a real file and loads it back. With `retime` the file's times are then rewritten:
// a machine whose clock was wrong, or two versions stamped alike. Saves are flushed to disk; a
// folder in memory, where the system has one, keeps thousands of them quick (Linux's, also when
// it is seen through Wine's drive for the root folder).
class PadFile {
public:
    using Retime = std::function<Timestamp(const std::string& id, Timestamp time)>;

    ~PadFile() {
        std::error_code ignored;
        std::filesystem::remove(path, ignored);
    }

    Pad reload(Pad pad, const Retime& retime = nullptr) {
        {
            Mapfile out(path, Mapfile::write);
            pad.save(out);
            out.close();
        }
        if (retime) {
            Mapfile out(path, Mapfile::update);
            for (std::size_t i = 0; i < pad.nibs().size(); ++i)
                out.put("TMOD" + std::to_string(i), retime(pad.nibs()[i].id_text(), pad.nibs()[i].time).to_text());
            for (std::size_t j = 0; j < pad.deletions().size(); ++j)
                out.put("DEL" + std::to_string(j) + "_TS", retime(pad.deletions()[j].id_text(), pad.deletions()[j].time).to_text());
            out.commit();
            out.close();
        }
        Pad loaded;
        Mapfile in(path, Mapfile::read);
        loaded.load(in);
        return loaded;
    }

private:
    static std::filesystem::path folder() {
        std::error_code ignored;
        for (const char* memory : {"/dev/shm", "Z:\\dev\\shm"})
            if (std::filesystem::is_directory(memory, ignored)) return memory;
        return std::filesystem::temp_directory_path();
    }
    const std::string path = (folder() / ("scrivel_sync_" + std::to_string(platform::process_id()) + ".nib")).string();
};

// Texts as typed and as files may hold them: cases, line ends, bytes above 127, a zero byte.
std::string random_text(std::mt19937& rng) {
    static const std::string texts[] = {"", "milk", "Milk", "eggs", "call Ann", "a\nb\r", "\xC9t\xE9", {"m\0ilk", 5}};
    return texts[rng() % 8] + std::string(rng() % 2 ? "" : "!");
}

// One step of a history of two machines' pads, with arguments in and out of range; `file`, when
// given, lets the pads go through files.
void random_step(std::mt19937& rng, PadFile* file, Pad& a, Pad& b) {
    Pad& pad = rng() % 2 ? a : b;
    const auto position = static_cast<std::int32_t>(rng() % (pad.found_count() + 3)) - 1;
    switch (rng() % 16) {
    case 0: pad.next(); break;
    case 1: pad.previous(); break;
    case 2: pad.find(random_text(rng).substr(0, rng() % 3)); break;
    case 3: case 4: case 5:
        pad.go_to(position);
        pad.set_current_text(random_text(rng));
        break;
    case 6: case 7: case 8:
        pad.go_to(position);
        pad.delete_current();
        break;
    case 9:
        pad.new_nib();
        pad.set_current_text(random_text(rng));
        break;
    case 10: pad.move_current(static_cast<std::int32_t>(rng() % (pad.count() + 2)) - 1); break;
    case 11: pad.sort_alphabetically(); break;
    case 12: pad.add_nib(random_text(rng), rng() % 2 ? SyncStamp().id_text() : "", rng() % 2 ? "5 6 7" : ""); break;
    case 13: case 14:
        if (file) {
            // Through the file, and that machine's clock ran behind or ahead, by up to a day.
            const auto shift = static_cast<std::int32_t>(rng() % 172800) - 86400;
            pad = file->reload(pad, [shift](const std::string&, Timestamp t) {
                t.seconds += shift;
                return t;
            });
            break;
        }
        [[fallthrough]];
    case 15:
        if (file && rng() % 2) {
            // Versions on the two machines stamped alike.
            std::map<std::string, Timestamp> a_times;
            for (const Entry& e : snapshot(a)) a_times[e.id] = e.time;
            b = file->reload(b, [&](const std::string& id, Timestamp t) {
                auto same = a_times.find(id);
                return same != a_times.end() && rng() % 2 ? same->second : t;
            });
        } else {
            Pad::synchronise(pad, &pad == &a ? b : a);
        }
        break;
    }
}

TEST(PadSyncPropertyTest, BothPadsEndWithTheNewestVersionOfEveryNib) {
    PadFile file;
    for (int h = 0; h < (histories_asked > 0 ? histories_asked : 2000); ++h) {
        const std::uint32_t seed = first_seed + static_cast<std::uint32_t>(h);
        SCOPED_TRACE("replay with --seed=" + std::to_string(seed) + " --histories=1");
        std::mt19937 rng(seed);
        // One history in ten goes through files.
        PadFile* history_file = seed % 10 == 0 ? &file : nullptr;
        Pad a, b;
        for (int i = static_cast<int>(rng() % 5); i > 0; --i) {
            a.new_nib();
            a.set_current_text(random_text(rng));
        }
        // Mostly copies of one pad, sometimes strangers.
        if (rng() % 4 != 0) b = history_file ? file.reload(a) : a;
        for (int step = static_cast<int>(rng() % 24); step > 0; --step) {
            random_step(rng, history_file, a, b);
            ASSERT_TRUE(pad_is_sound(a)) << step << " steps before the end";
            ASSERT_TRUE(pad_is_sound(b)) << step << " steps before the end";
        }

        Snapshot expected = expected_outcome(snapshot(a), snapshot(b));
        const Timestamp started = Timestamp::now();
        Pad::synchronise(a, b);
        Snapshot after = snapshot(a);
        ASSERT_EQ(after, snapshot(b)) << "the pads differ after synchronising";
        for (const Pad* pad : {&a, &b}) {
            ASSERT_TRUE(pad_is_sound(*pad));
            EXPECT_TRUE(pad->current() == 0 && pad->found_count() == pad->count() && pad->find_text().empty());
        }
        // Everything was deleted: the pad keeps one new empty nib.
        if (std::none_of(expected.begin(), expected.end(), [](const Entry& e) { return e.nib; }))
            expected.insert(expected.begin(), {after.at(0).id, after.at(0).time, "", true});
        // The records the synchronisation makes are stamped while it runs.
        Snapshot seen = after;
        std::sort(seen.begin() + a.count(), seen.end(), [](const Entry& x, const Entry& y) { return x.id < y.id; });
        for (std::size_t i = 0; i < std::min(seen.size(), expected.size()); ++i)
            if (expected[i].time == made_now && expected[i].id == seen[i].id && !(seen[i].time < started))
                expected[i].time = seen[i].time;
        ASSERT_EQ(seen, expected);

        Pad::synchronise(a, b);
        ASSERT_EQ(snapshot(a), after) << "synchronising again changed the pads";
        ASSERT_EQ(snapshot(b), after);
        // What a file round trip keeps, a later synchronisation keeps too.
        if (history_file) {
            Pad reloaded = file.reload(b);
            Pad::synchronise(a, reloaded);
            ASSERT_EQ(snapshot(reloaded), after);
        }
    }
}

}  // namespace

int main(int argc, char** argv) {
    ::testing::InitGoogleTest(&argc, argv);
    for (int i = 1; i < argc; ++i) {
        const std::string arg = argv[i];
        if (arg.rfind("--seed=", 0) == 0) first_seed = static_cast<std::uint32_t>(std::strtoul(arg.c_str() + 7, nullptr, 10));
        if (arg.rfind("--histories=", 0) == 0) histories_asked = std::atoi(arg.c_str() + 12);
    }
    return RUN_ALL_TESTS();
}
