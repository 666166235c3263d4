// The pad's operations on a large pad: 100,000 nibs of about 200 bytes and 2,000 deletion records.
#include "model/pad.h"
#include "storage/mapfile.h"
#include "storage/recovery_file.h"

#include <benchmark/benchmark.h>

#include <cstdio>
#include <filesystem>
#include <random>
#include <string>
#include <vector>

namespace {

constexpr int large_count = 100000;
constexpr int deletion_count = 2000;

std::string id_text(std::uint32_t side, std::uint32_t n) {
    char text[37];
    std::snprintf(text, sizeof text, "%08x-%04x-4000-8000-%012x", n, side, n * 2654435761u);
    return text;
}

std::string nib_text(std::mt19937& rng) {
    static const char* const words[] = {"milk", "Meeting", "call", "Anna", "about", "the", "Invoice", "garden",
                                        "notes", "tomorrow", "price", "list", "\r\n", "Berlin", "ticket", "and"};
    std::string text;
    while (text.size() < 200) {
        text += words[rng() % 16];
        text += ' ';
    }
    return text;
}

// The pad files written, removed when the program ends.
struct TemporaryFiles {
    std::vector<std::string> paths;
    ~TemporaryFiles() {
        std::error_code ignored;
        for (const std::string& path : paths) std::filesystem::remove(path, ignored);
    }
};

// Writes a pad file of `large_count` nibs: the first `shared` of them the same on every side, the
// rest this side's own; `edited` of the shared ones changed later on this side.
std::string write_pad_file(std::uint32_t side, int shared, int edited) {
    std::mt19937 rng(side);
    std::mt19937 shared_rng(7);
    const std::string path = (std::filesystem::temp_directory_path() / ("bench_pad_" + std::to_string(side) + ".nib")).string();
    Mapfile file(path, Mapfile::write);
    file.put_int("NNIBS", large_count);
    for (int i = 0; i < large_count; ++i) {
        const bool common = i < shared;
        std::string text = nib_text(common ? shared_rng : rng);
        std::string time = "1700000000 " + std::to_string(i) + " 1";
        if (common && edited > 0 && i % (shared / edited) == 0) {
            text += "(edited)";
            time = "1700000100 " + std::to_string(i) + " 1";
        }
        const std::string index = std::to_string(i);
        file.put("NIB" + index, text);
        file.put("ID" + index, id_text(common ? 0 : side, static_cast<std::uint32_t>(i)));
        file.put("TMOD" + index, time);
    }
    for (int j = 0; j < deletion_count; ++j) {
        const std::string key = "DEL" + std::to_string(j);
        file.put(key + "_ID", id_text(j % 2 ? 0 : side, static_cast<std::uint32_t>(large_count + j)));
        file.put(key + "_TS", "1700000050 " + std::to_string(j) + " 1");
    }
    file.close();
    static TemporaryFiles written;
    written.paths.push_back(path);
    return path;
}

// Pads are measured as loaded, with the room to grow that loading leaves them.
Pad load_pad(const std::string& path) {
    Pad pad;
    Mapfile file(path, Mapfile::read);
    pad.load(file);
    return pad;
}

const std::string& first_pad_file() {
    static const std::string path = write_pad_file(1, large_count, 0);
    return path;
}

const Pad& large_pad() {
    static const Pad pad = load_pad(first_pad_file());
    return pad;
}

// One keystroke after another in the find field.
void BM_FindTyping(benchmark::State& state) {
    // Loaded rather than copied: a copy would lay the nib texts out in order.
    Pad pad = load_pad(first_pad_file());
    const char* const queries[] = {"m", "me", "mee", "meet", "meeti", "meetin", "meeting", ""};
    std::size_t next = 0;
    for (auto _ : state) {
        benchmark::DoNotOptimize(pad.find(queries[next]));
        next = (next + 1) % 8;
    }
}
BENCHMARK(BM_FindTyping)->Unit(benchmark::kMillisecond);

// The recovery a window writes when typing pauses: 100 changed nibs spread over the large pad,
// wall time including the flush to disk.
void BM_WriteRecovery(benchmark::State& state) {
    Pad pad = load_pad(first_pad_file());
    for (int position = 1; position <= large_count; position += large_count / 100) {
        pad.go_to(position);
        pad.set_current_text("edited " + std::to_string(position));
    }
    const std::string path = (std::filesystem::temp_directory_path() / "bench_pad_recovery.nib").string();
    const std::string pending = "typed, not yet committed";
    for (auto _ : state) write_recovery(path, first_pad_file(), pad, &pending);
    std::filesystem::remove(path);
}
BENCHMARK(BM_WriteRecovery)->Unit(benchmark::kMillisecond);

void BM_FindRareText(benchmark::State& state) {
    Pad pad = load_pad(first_pad_file());
    for (auto _ : state) benchmark::DoNotOptimize(pad.find("invoice garden xq"));
    state.SetBytesProcessed(state.iterations() * large_count * 200);
}
BENCHMARK(BM_FindRareText)->Unit(benchmark::kMillisecond);

// Two large pads that share 90% of their ids, a tenth of those edited on the second side.
void BM_Synchronise(benchmark::State& state) {
    static const std::string second_file = write_pad_file(2, large_count * 9 / 10, large_count * 9 / 100);
    for (auto _ : state) {
        state.PauseTiming();
        Pad a = load_pad(first_pad_file()), b = load_pad(second_file);
        state.ResumeTiming();
        Pad::synchronise(a, b);
        benchmark::DoNotOptimize(a.count());
        state.PauseTiming();
        {
            Pad drop_a = std::move(a), drop_b = std::move(b);
        }
        state.ResumeTiming();
    }
}
BENCHMARK(BM_Synchronise)->Unit(benchmark::kMillisecond);

void BM_DeleteCurrent(benchmark::State& state) {
    Pad pad = large_pad();
    pad.go_to(large_count / 2);
    for (auto _ : state) pad.delete_current();
}
BENCHMARK(BM_DeleteCurrent)->Unit(benchmark::kMillisecond)->Iterations(200);

void BM_MoveCurrentToFront(benchmark::State& state) {
    Pad pad = large_pad();
    for (auto _ : state) {
        pad.go_to(pad.count());
        pad.move_current(0);
    }
}
BENCHMARK(BM_MoveCurrentToFront)->Unit(benchmark::kMillisecond);

void BM_SortAlphabetically(benchmark::State& state) {
    for (auto _ : state) {
        state.PauseTiming();
        Pad pad = large_pad();
        state.ResumeTiming();
        pad.sort_alphabetically();
        state.PauseTiming();
        {
            Pad drop = std::move(pad);
        }
        state.ResumeTiming();
    }
}
BENCHMARK(BM_SortAlphabetically)->Unit(benchmark::kMillisecond);

}  // namespace
