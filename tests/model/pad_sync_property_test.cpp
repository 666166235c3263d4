// Random pad histories: every operation keeps a pad sound, and synchronising two pads after any
// history leaves both with the newest version of every nib, checked against a model of the
// outcome rather than against the merge itself. A failing history prints its seed: replay it
// with --seed=N --histories=1, or run more with --histories=N (or SCRIVEL_SEED, SCRIVEL_HISTORIES).
#include "model/pad.h"

#include "pad_checks.h"
#include "storage/mapfile.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cstdlib>
#include <filesystem>
#include <functional>
#include <map>
#include <ostream>
#include <random>
#include <set>
#include <string>

namespace {

std::uint32_t first_seed = 20261206;
int histories_asked = 0;  // 0: each test's own count

int histories_or(int default_count) { return histories_asked > 0 ? histories_asked : default_count; }

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
    *out << "nibs:" << ::testing::PrintToString(s.nibs) << " deletions:" << ::testing::PrintToString(s.deletions);
}

Snapshot snapshot(const Pad& pad) {
    Snapshot s;
    for (const Nib& nib : pad.nibs()) s.nibs.push_back({nib.id_text(), nib.time, nib.text()});
    for (const SyncStamp& record : pad.deletions()) s.deletions.push_back({record.id_text(), record.time, {}});
    return s;
}

// Marks a deletion record that the synchronisation itself makes.
const Timestamp made_now = Timestamp::from_text("-2147483648 -2147483648 -2147483648");

// What both pads must hold after synchronising a with b: for every id the newest of its versions
// (a nib or a deletion), a's on equal times; a's nibs in a's order, then the others in b's. Then
// the empty nibs go as after any find, a last one staying, each leaving a deletion made now.
Snapshot expected_outcome(const Snapshot& a, const Snapshot& b) {
    std::map<std::string, std::pair<Entry, bool>> newest;  // the version and whether it is a nib
    for (const Snapshot* side : {&a, &b})
        for (bool nib : {true, false})
            for (const Entry& e : nib ? side->nibs : side->deletions) {
                auto [at, added] = newest.try_emplace(e.id, e, nib);
                if (!added && at->second.first.time < e.time) at->second = {e, nib};
            }
    Snapshot out;
    std::set<std::string> placed;
    for (const Snapshot* side : {&a, &b})
        for (const Entry& e : side->nibs)
            if (newest[e.id].second && placed.insert(e.id).second) out.nibs.push_back(newest[e.id].first);
    for (const auto& [id, version] : newest)
        if (!version.second) out.deletions.push_back(version.first);

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

// Saves are flushed to disk; a folder in memory, where the system has one, keeps thousands of
// them quick (Linux's, also when it is seen through Wine's drive for the root folder).
std::filesystem::path scratch_directory() {
    std::error_code ignored;
    for (const char* memory : {"/dev/shm", "Z:\\dev\\shm"})
        if (std::filesystem::is_directory(memory, ignored)) return memory;
    return std::filesystem::temp_directory_path();
}

// Saves a pad to a real file and loads it back. With `retime` the file is written key by key with
// other times: a machine whose clock was wrong, or two versions stamped alike.
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
            if (retime)
                write_retimed(out, pad, retime);
            else
                pad.save(out);
            out.close();
        }
        Pad loaded;
        Mapfile in(path, Mapfile::read);
        loaded.load(in);
        return loaded;
    }

private:
    static void write_retimed(Mapfile& out, const Pad& pad, const Retime& retime) {
        out.put_int("NNIBS", pad.count());
        for (std::size_t i = 0; i < pad.nibs().size(); ++i) {
            const Nib& nib = pad.nibs()[i];
            out.put("NIB" + std::to_string(i), nib.text());
            out.put("ID" + std::to_string(i), nib.id_text());
            out.put("TMOD" + std::to_string(i), retime(nib.id_text(), nib.time).to_text());
        }
        for (std::size_t j = 0; j < pad.deletions().size(); ++j) {
            const SyncStamp& record = pad.deletions()[j];
            out.put("DEL" + std::to_string(j) + "_ID", record.id_text());
            out.put("DEL" + std::to_string(j) + "_TS", retime(record.id_text(), record.time).to_text());
        }
    }

    const std::string path = (scratch_directory() / ("scrivel_sync_" + std::to_string(platform::process_id()) + ".nib")).string();
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
    case 13:
        if (file) {
            pad = file->reload(pad);
            break;
        }
        [[fallthrough]];
    case 14:
        if (file) {
            // That machine's clock ran behind or ahead, by up to a day.
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
            for (const Entry& e : snapshot(a).nibs) a_times[e.id] = e.time;
            for (const Entry& e : snapshot(a).deletions) a_times[e.id] = e.time;
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
    for (int h = 0; h < histories_or(2000); ++h) {
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
        const Snapshot after = snapshot(a);
        ASSERT_EQ(after, snapshot(b)) << "the pads differ after synchronising";
        for (const Pad* pad : {&a, &b}) {
            ASSERT_TRUE(pad_is_sound(*pad));
            EXPECT_TRUE(pad->current() == 0 && pad->found_count() == pad->count() && pad->find_text().empty());
        }
        if (expected.nibs.empty()) {
            // Everything was deleted: the pad keeps one new empty nib.
            ASSERT_EQ(after.nibs.size(), 1u);
            ASSERT_EQ(after.nibs[0].text, "");
        } else {
            ASSERT_EQ(after.nibs, expected.nibs);
        }
        // The records the synchronisation makes are stamped while it runs.
        std::vector<Entry> deletions = after.deletions, wanted = expected.deletions;
        for (auto* list : {&deletions, &wanted})
            std::sort(list->begin(), list->end(), [](const Entry& x, const Entry& y) { return x.id < y.id; });
        for (std::size_t i = 0; i < std::min(deletions.size(), wanted.size()); ++i)
            if (wanted[i].time == made_now && wanted[i].id == deletions[i].id && !(deletions[i].time < started))
                wanted[i].time = deletions[i].time;
        ASSERT_EQ(deletions, wanted);

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
    if (const char* seed = std::getenv("SCRIVEL_SEED")) first_seed = static_cast<std::uint32_t>(std::strtoul(seed, nullptr, 10));
    if (const char* count = std::getenv("SCRIVEL_HISTORIES")) histories_asked = std::atoi(count);
    for (int i = 1; i < argc; ++i) {
        const std::string arg = argv[i];
        if (arg.rfind("--seed=", 0) == 0) first_seed = static_cast<std::uint32_t>(std::strtoul(arg.c_str() + 7, nullptr, 10));
        if (arg.rfind("--histories=", 0) == 0) histories_asked = std::atoi(arg.c_str() + 12);
    }
    return RUN_ALL_TESTS();
}
