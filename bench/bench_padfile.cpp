// Loading and saving a large pad, and importing a large text file.
#include "model/pad.h"
#include "storage/pad_document.h"
#include "storage/separator.h"

#include <benchmark/benchmark.h>
#include <malloc.h>

#include <cstring>
#include <filesystem>
#include <fstream>
#include <memory>
#include <random>
#include <string>

#include <unistd.h>

namespace {

constexpr int large_pad_nibs = 100000;
constexpr std::size_t nib_size = 200;

// Named for this process: another one, from another checkout, may be running the same benchmarks.
std::string scratch(const std::string& name) {
    const std::string own = "scrivel-bench-" + std::to_string(getpid()) + "-" + name;
    return (std::filesystem::temp_directory_path() / own).string();
}

// Text of words and line breaks, like notes.
std::string random_text(std::mt19937& random, std::size_t size) {
    static const char* const words[] = {"milk", "Call", "the", "meeting", "tomorrow", "report", "a", "ideas", "for",
                                        "garden", "Remember", "book", "12:30", "and", "list"};
    std::string text;
    while (text.size() < size) {
        if (!text.empty()) text += random() % 12 == 0 ? "\r\n" : " ";
        text += words[random() % std::size(words)];
    }
    text.resize(size);
    return text;
}

Pad& large_pad() {
    static Pad pad = [] {
        std::mt19937 random(7);
        Pad made;
        for (int i = 0; i < large_pad_nibs; ++i) {
            made.new_nib();
            made.set_current_text(random_text(random, nib_size));
        }
        for (int i = 0; i < 150; ++i) {
            made.go_to(1);
            made.delete_current();
        }
        return made;
    }();
    return pad;
}

const PadFileHeader header{WindowPlacement{100, 80, 400, 450}, PadFont{"MS Sans Serif", 11}, std::nullopt};

void BM_SaveLargePad(benchmark::State& state) {
    Pad& pad = large_pad();
    const std::string path = scratch("save.nib");
    for (auto _ : state) write_pad_file(path, header, pad);
    state.SetBytesProcessed(static_cast<std::int64_t>(state.iterations() * std::filesystem::file_size(path)));
    std::filesystem::remove(path);
}
BENCHMARK(BM_SaveLargePad)->Unit(benchmark::kMillisecond);

void BM_LoadLargePad(benchmark::State& state) {
    const std::string path = scratch("load.nib");
    write_pad_file(path, header, large_pad());
    for (auto _ : state) {
        PadDocument document = read_pad_file(path);
        benchmark::DoNotOptimize(document.pad.count());
    }
    state.SetBytesProcessed(static_cast<std::int64_t>(state.iterations() * std::filesystem::file_size(path)));
    std::filesystem::remove(path);
}
BENCHMARK(BM_LoadLargePad)->Unit(benchmark::kMillisecond);

// A file the benchmarks share, removed when the program ends.
struct ScratchFile {
    std::string path;
    ~ScratchFile() {
        std::error_code ignored;
        std::filesystem::remove(path, ignored);
    }
};

// About 24 MB: as many pieces as the large pad has nibs, joined by the default separator as an export
// writes it.
std::string write_import_text(const std::string& path) {
    std::mt19937 random(11);
    std::ofstream out(path, std::ios::binary);
    for (int i = 0; i < large_pad_nibs; ++i)
        out << random_text(random, nib_size) << "\r\n\r\n------------------------------\r\n\r\n";
    return path;
}

const std::string& import_text_file() {
    static const ScratchFile file{write_import_text(scratch("import.txt"))};
    return file.path;
}

void BM_ImportText(benchmark::State& state) {
    const std::string& path = import_text_file();
    for (auto _ : state) {
        {
            Pad pad;
            pad.import_text(path, default_separator);
            benchmark::DoNotOptimize(pad.count());
            state.PauseTiming();
        }
        // The freed memory goes back to the system, so that each import fills new memory, as a
        // real one does and as the baseline's large blocks always do.
        malloc_trim(0);
        state.ResumeTiming();
    }
    state.SetBytesProcessed(static_cast<std::int64_t>(state.iterations() * std::filesystem::file_size(path)));
}
BENCHMARK(BM_ImportText)->Unit(benchmark::kMillisecond);

// The least an import can do: read the file into new memory and copy its bytes once more.
void BM_ImportBaseline(benchmark::State& state) {
    const std::string& path = import_text_file();
    const std::size_t size = std::filesystem::file_size(path);
    for (auto _ : state) {
        std::unique_ptr<char[]> read(new char[size]);
        std::ifstream in(path, std::ios::binary);
        if (!in.read(read.get(), static_cast<std::streamsize>(size))) {
            state.SkipWithError("the import text cannot be read");
            break;
        }
        std::unique_ptr<char[]> copy(new char[size]);
        std::memcpy(copy.get(), read.get(), size);
        benchmark::DoNotOptimize(copy.get());
    }
    state.SetBytesProcessed(static_cast<std::int64_t>(state.iterations() * size));
}
BENCHMARK(BM_ImportBaseline)->Unit(benchmark::kMillisecond);

}  // namespace
