// Load and save speed of the key/value file on a pad-sized file: per nib a ~200-byte text, an id
// and a time, plus deletion records, read in the order they were written.
#include "storage/mapfile.h"

#include <benchmark/benchmark.h>

#include <filesystem>
#include <string>
#include <vector>

namespace {

struct Record {
    std::string key;
    std::string value;
};

std::vector<Record> pad_records(int nibs) {
    std::vector<Record> records;
    std::string text;
    for (int i = 0; i < nibs; ++i) {
        text.assign(180 + i % 41, static_cast<char>('a' + i % 26));
        text.replace(0, 12, "Note\r\nline " + std::to_string(i % 10));
        records.push_back({"NIB" + std::to_string(i), text});
        records.push_back({"ID" + std::to_string(i), "6f1c2a3e-5b7d-4e21-9a0b-" + std::to_string(100000000000 + i)});
        records.push_back({"TMOD" + std::to_string(i), "944000000 " + std::to_string(i) + " 1"});
    }
    for (int j = 0; j < nibs / 25; ++j) {
        records.push_back({"DEL" + std::to_string(j) + "_ID", "3c4d5e6f-7a8b-4c9d-8e0f-" + std::to_string(100000000000 + j)});
        records.push_back({"DEL" + std::to_string(j) + "_TS", "944000200 1400 2"});
    }
    return records;
}

std::string bench_file() { return (std::filesystem::temp_directory_path() / "scrivel-bench-mapfile.nib").string(); }

void save(const std::string& file, const std::vector<Record>& records) {
    Mapfile map(file, Mapfile::write);
    for (const Record& r : records) map.put(r.key, r.value);
    map.close();
}

void BM_MapfileLoadInWrittenOrder(benchmark::State& state) {
    const auto records = pad_records(static_cast<int>(state.range(0)));
    const std::string file = bench_file();
    save(file, records);
    for (auto _ : state) {
        Mapfile map(file, Mapfile::read);
        for (const Record& r : records) benchmark::DoNotOptimize(map.get(r.key));
    }
    state.SetBytesProcessed(static_cast<std::int64_t>(state.iterations() * std::filesystem::file_size(file)));
    state.counters["records"] = static_cast<double>(records.size());
    std::filesystem::remove(file);
}
BENCHMARK(BM_MapfileLoadInWrittenOrder)->Arg(100'000)->Unit(benchmark::kMillisecond);

void BM_MapfileSave(benchmark::State& state) {
    const auto records = pad_records(static_cast<int>(state.range(0)));
    const std::string file = bench_file();
    for (auto _ : state) save(file, records);
    state.SetBytesProcessed(static_cast<std::int64_t>(state.iterations() * std::filesystem::file_size(file)));
    state.counters["records"] = static_cast<double>(records.size());
    std::filesystem::remove(file);
}
BENCHMARK(BM_MapfileSave)->Arg(100'000)->Unit(benchmark::kMillisecond)->UseRealTime();  // the flush to disk is waiting, not CPU

}  // namespace
