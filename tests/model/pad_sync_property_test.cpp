// Synchronisation as a property: random two-pad histories, checked against a reference model of
// the outcome rather than against the merge itself.
#include "model/pad.h"

#include "history_options.h"
#include "pad_checks.h"
#include "storage/mapfile.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <atomic>
#include <cstdlib>
#include <filesystem>
#include <functional>
#include <map>
#include <ostream>
#include <random>
#include <string>

HistoryOptions& history_options() {
    static HistoryOptions options;
    return options;
}

namespace {

struct Entry {
    std::string id;
    Timestamp time;
    std::string text;
    bool operator==(const Entry&) const = default;
};

struct Snapshot {
    std::vector<Entry> nibs;
    std::vector<Entry> deletions;
    bool operator==(const Snapshot&) const = default;
};

void PrintTo(const Entry& e, std::ostream* out) {
    *out << e.id.substr(0, 8) << "@" << e.time.to_text() << (e.text.empty() ? "" : " \"" + e.text + "\"");
}

void PrintTo(const Snapshot& s, std::ostream* out) {
    *out << "nibs:";
    for (const Entry& e : s.nibs) PrintTo(e, &(*out << " [")), *out << "]";
    *out << " deletions:";
    for (const Entry& e : s.deletions) PrintTo(e, &(*out << " [")), *out << "]";
}

Snapshot snapshot(const Pad& pad) {
    Snapshot s;
    for (const Nib& nib : pad.nibs()) s.nibs.push_back({nib.id_text(), nib.time, nib.text()});
    for (const SyncStamp& record : pad.deletions()) s.deletions.push_back({record.id_text(), record.time, {}});
    return s;
}

// Marks a deletion record that the synchronisation itself makes.
const Timestamp made_now = Timestamp::from_text("-2147483648 -2147483648 -2147483648");

std::vector<Entry> sorted(std::vector<Entry> entries) {
    std::sort(entries.begin(), entries.end(), [](const Entry& a, const Entry& b) { return a.id < b.id; });
    return entries;
}

// What both pads must hold after synchronising a with b: for every id the strictly newest of
// its versions (a nib or a deletion), a's on equal times; a's nibs in a's order, then the nibs
// that a did not hold, in b's order.
Snapshot expected_outcome(const Snapshot& a, const Snapshot& b) {
    struct Version {
        bool nib;
        Entry entry;
    };
    std::map<std::string, Version> in_a, in_b;
    for (const Entry& e : a.nibs) in_a[e.id] = {true, e};
    for (const Entry& e : a.deletions) in_a[e.id] = {false, e};
    for (const Entry& e : b.nibs) in_b[e.id] = {true, e};
    for (const Entry& e : b.deletions) in_b[e.id] = {false, e};
    auto winner = [&](const std::string& id) -> const Version& {
        auto ia = in_a.find(id), ib = in_b.find(id);
        if (ia == in_a.end()) return ib->second;
        if (ib == in_b.end()) return ia->second;
        return ia->second.entry.time < ib->second.entry.time ? ib->second : ia->second;
    };
    Snapshot out;
    for (const Entry& e : a.nibs)
        if (winner(e.id).nib) out.nibs.push_back(winner(e.id).entry);
    for (const Entry& e : b.nibs) {
        auto ia = in_a.find(e.id);
        bool a_held_nib = ia != in_a.end() && ia->second.nib;
        if (!a_held_nib && winner(e.id).nib) out.nibs.push_back(winner(e.id).entry);
    }
    std::map<std::string, bool> all;
    for (const auto& [id, v] : in_a) all[id] = true;
    for (const auto& [id, v] : in_b) all[id] = true;
    for (const auto& [id, flag] : all)
        if (!winner(id).nib) out.deletions.push_back(winner(id).entry);

    // The pads then drop their empty nibs as any find does, keeping a last one, each drop a
    // deletion made now.
    const bool all_empty = std::all_of(out.nibs.begin(), out.nibs.end(), [](const Entry& e) { return e.text.empty(); });
    std::vector<Entry> kept;
    for (std::size_t i = 0; i < out.nibs.size(); ++i) {
        if (!out.nibs[i].text.empty() || (all_empty && i + 1 == out.nibs.size()))
            kept.push_back(out.nibs[i]);
        else
            out.deletions.push_back({out.nibs[i].id, made_now, {}});
    }
    out.nibs = kept;
    return out;
}

// Deletion records alike by id, and by time unless the record was made by the synchronisation.
::testing::AssertionResult same_deletions(std::vector<Entry> actual, std::vector<Entry> expected, Timestamp started) {
    actual = sorted(actual);
    expected = sorted(expected);
    if (actual.size() != expected.size())
        return ::testing::AssertionFailure() << actual.size() << " deletions, expected " << expected.size();
    for (std::size_t i = 0; i < actual.size(); ++i) {
        bool fresh = expected[i].time == made_now;
        if (actual[i].id != expected[i].id || (fresh ? actual[i].time < started : !(actual[i].time == expected[i].time)))
            return ::testing::AssertionFailure() << "deletion of " << actual[i].id << " at " << actual[i].time.to_text()
                                                 << ", expected " << expected[i].id << " at " << expected[i].time.to_text();
    }
    return ::testing::AssertionSuccess();
}

// Saves are flushed to disk; a folder in memory, where the system has one, keeps thousands of
// them quick (Linux's, also when it is seen through Wine's drive for the root folder).
std::filesystem::path scratch_directory() {
    std::error_code ignored;
    for (const char* memory : {"/dev/shm", "Z:\\dev\\shm"})
        if (std::filesystem::is_directory(memory, ignored)) return memory;
    return std::filesystem::temp_directory_path();
}

// Saves a pad to a real file and loads it back, optionally rewriting the stored times on the way:
// a machine whose clock was wrong, or two versions stamped alike.
class PadFiles {
public:
    using Retime = std::function<Timestamp(const std::string& id, Timestamp time)>;

    PadFiles() {
        static std::atomic<int> serial{0};
        auto base = scratch_directory() /
                    ("scrivel_sync_" + std::to_string(platform::process_id()) + "_" + std::to_string(++serial));
        saved = base.string() + "a.nib";
        rewritten = base.string() + "b.nib";
    }
    ~PadFiles() {
        std::error_code ignored;
        std::filesystem::remove(saved, ignored);
        std::filesystem::remove(rewritten, ignored);
    }

    Pad reload(const Pad& pad, const Retime& retime = nullptr) {
        {
            Mapfile out(saved, Mapfile::write);
            pad.save(out);
            out.close();
        }
        std::string path = saved;
        if (retime) {
            rewrite_times(retime);
            path = rewritten;
        }
        Pad loaded;
        Mapfile in(path, Mapfile::read);
        loaded.load(in);
        return loaded;
    }

private:
    void rewrite_times(const Retime& retime) {
        Mapfile in(saved, Mapfile::read);
        Mapfile out(rewritten, Mapfile::write);
        auto time_text = [&](const std::string& id, const std::string& text) {
            return retime(id, Timestamp::from_text(text)).to_text();
        };
        const std::int32_t n = in.get_int("NNIBS");
        out.put_int("NNIBS", n);
        for (std::int32_t i = 0; i < n; ++i) {
            const std::string index = std::to_string(i);
            const std::string id = in.get("ID" + index);
            out.put("NIB" + index, in.get("NIB" + index));
            out.put("ID" + index, id);
            out.put("TMOD" + index, time_text(id, in.get("TMOD" + index)));
        }
        for (int j = 0;; ++j) {
            const std::string key = "DEL" + std::to_string(j);
            std::string id, time;
            try {
                id = in.get(key + "_ID");
                time = in.get(key + "_TS");
            } catch (const Mapfile::no_such_key&) {
                break;
            }
            out.put(key + "_ID", id);
            out.put(key + "_TS", time_text(id, time));
        }
        out.close();
    }

    std::string saved, rewritten;
};

std::string random_text(std::mt19937& rng) {
    static const char* const words[] = {"", "milk", "Milk", "eggs", "call Ann", "a\nb", "x"};
    return words[rng() % 7] + std::string(rng() % 2 ? "" : "!");
}

Pad& pick(std::mt19937& rng, Pad& a, Pad& b) { return rng() % 2 ? a : b; }

void go_somewhere(std::mt19937& rng, Pad& pad) {
    if (pad.found_count() > 0) pad.go_to(static_cast<std::int32_t>(rng() % pad.found_count()) + 1);
}

// One random step of one history; the pads are those of two machines.
void random_step(std::mt19937& rng, PadFiles* files, Pad& a, Pad& b) {
    switch (rng() % 10) {
    case 0:
    case 1:
    case 7: {
        Pad& pad = pick(rng, a, b);
        go_somewhere(rng, pad);
        pad.set_current_text(random_text(rng));
        break;
    }
    case 2: {
        Pad& pad = pick(rng, a, b);
        pad.new_nib();
        pad.set_current_text(random_text(rng));
        break;
    }
    case 3:
    case 4:
    case 8: {
        Pad& pad = pick(rng, a, b);
        go_somewhere(rng, pad);
        pad.delete_current();
        break;
    }
    case 5: {
        Pad& pad = pick(rng, a, b);
        pad.find(rng() % 2 ? "" : "m");
        if (rng() % 2) pad.move_current(static_cast<std::int32_t>(rng() % pad.count()));
        if (rng() % 4 == 0) pad.sort_alphabetically();
        break;
    }
    case 6: {
        // Saved and loaded again; sometimes with the times rewritten on the way.
        if (!files) {
            Pad::synchronise(a, b);
            break;
        }
        switch (rng() % 3) {
        case 0: {
            Pad& pad = pick(rng, a, b);
            pad = files->reload(pad);
            break;
        }
        case 1: {
            // That machine's clock ran behind (or ahead) by up to a day.
            Pad& pad = pick(rng, a, b);
            const auto shift = static_cast<std::int32_t>(rng() % 172800) - 86400;
            pad = files->reload(pad, [shift](const std::string&, Timestamp t) {
                t.seconds += shift;
                return t;
            });
            break;
        }
        case 2: {
            // Versions on the two machines stamped alike.
            std::map<std::string, Timestamp> a_times;
            for (const Nib& nib : a.nibs()) a_times[nib.id_text()] = nib.time;
            for (const SyncStamp& record : a.deletions()) a_times[record.id_text()] = record.time;
            b = files->reload(b, [&](const std::string& id, Timestamp t) {
                auto same = a_times.find(id);
                return same != a_times.end() && rng() % 2 ? same->second : t;
            });
            break;
        }
        }
        break;
    }
    case 9:
        if (rng() % 2)
            Pad::synchronise(a, b);
        else
            Pad::synchronise(b, a);
        break;
    }
}

TEST(PadSyncPropertyTest, BothPadsEndWithTheNewestVersionOfEveryNib) {
    const int histories = histories_or(2000);
    PadFiles files;
    for (int h = 0; h < histories; ++h) {
        const std::uint32_t seed = history_options().seed + static_cast<std::uint32_t>(h);
        SCOPED_TRACE("replay with --seed=" + std::to_string(seed) + " --histories=1");
        std::mt19937 rng(seed);

        Pad a, b;
        const int base_nibs = static_cast<int>(rng() % 5);
        for (int i = 0; i < base_nibs; ++i) {
            a.new_nib();
            a.set_current_text(random_text(rng));
        }
        // One history in ten goes through files between the steps.
        PadFiles* history_files = seed % 10 == 0 ? &files : nullptr;
        // Mostly copies of one pad, sometimes strangers.
        if (rng() % 4 != 0) b = history_files ? files.reload(a) : a;
        const int steps = static_cast<int>(rng() % 16);
        for (int step = 0; step < steps; ++step) {
            random_step(rng, history_files, a, b);
            ASSERT_TRUE(pad_is_sound(a)) << "after step " << step;
            ASSERT_TRUE(pad_is_sound(b)) << "after step " << step;
        }

        const Snapshot before_a = snapshot(a), before_b = snapshot(b);
        const Snapshot expected = expected_outcome(before_a, before_b);
        const Timestamp started = Timestamp::now();
        Pad::synchronise(a, b);
        const Snapshot after = snapshot(a);
        ASSERT_EQ(after, snapshot(b)) << "the pads differ after synchronising";
        if (expected.nibs.empty()) {
            // Everything was deleted: the pad keeps one new empty nib.
            ASSERT_EQ(after.nibs.size(), 1u);
            ASSERT_EQ(after.nibs[0].text, "");
        } else {
            ASSERT_EQ(after.nibs, expected.nibs);
        }
        ASSERT_TRUE(same_deletions(after.deletions, expected.deletions, started));
        ASSERT_TRUE(pad_is_sound(a));
        EXPECT_EQ(a.current(), 0);
        EXPECT_EQ(a.found_count(), a.count());

        Pad::synchronise(a, b);
        ASSERT_EQ(snapshot(a), after) << "synchronising again changed the pads";
        ASSERT_EQ(snapshot(b), after);

        // What a file round trip keeps, a later synchronisation keeps too.
        if (history_files) {
            Pad reloaded = files.reload(b);
            Pad::synchronise(a, reloaded);
            ASSERT_EQ(snapshot(reloaded), after);
        }
    }
}

}  // namespace

int main(int argc, char** argv) {
    ::testing::InitGoogleTest(&argc, argv);
    HistoryOptions& options = history_options();
    if (const char* seed = std::getenv("SCRIVEL_SEED")) options.seed = static_cast<std::uint32_t>(std::strtoul(seed, nullptr, 10));
    if (const char* count = std::getenv("SCRIVEL_HISTORIES")) options.histories = std::atoi(count);
    for (int i = 1; i < argc; ++i) {
        std::string arg = argv[i];
        if (arg.rfind("--seed=", 0) == 0) options.seed = static_cast<std::uint32_t>(std::strtoul(arg.c_str() + 7, nullptr, 10));
        else if (arg.rfind("--histories=", 0) == 0) options.histories = std::atoi(arg.c_str() + 12);
    }
    return RUN_ALL_TESTS();
}
