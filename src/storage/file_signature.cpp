#include "storage/file_signature.h"

#include <algorithm>
#include <cstdio>
#include <cstring>
#include <filesystem>
#include <memory>
#include <vector>

namespace {

// A fast 64-bit mix over 8-byte words: it only has to tell one version of a file from another.
class ContentHash {
public:
    void add(const unsigned char* bytes, std::size_t size) {
        std::size_t i = 0;
        for (; i + 8 <= size; i += 8) {
            std::uint64_t word;
            std::memcpy(&word, bytes + i, 8);
            mix(word);
        }
        std::uint64_t tail = 0;
        std::memcpy(&tail, bytes + i, size - i);
        mix(tail ^ (static_cast<std::uint64_t>(size - i) << 56));
    }
    std::uint64_t value() const { return state; }

private:
    void mix(std::uint64_t word) {
        state = (state ^ word) * 0x9e3779b97f4a7c15ull;
        state ^= state >> 29;
    }
    std::uint64_t state = 0xcbf29ce484222325ull;
};

constexpr long head_and_tail = 1 << 16;

struct FileCloser {
    void operator()(std::FILE* file) const { std::fclose(file); }
};

}  // namespace

FileSignature file_signature(const std::string& path) {
    FileSignature signature;
    std::error_code error;
    const auto modified = std::filesystem::last_write_time(path, error);
    if (error) return signature;
    std::unique_ptr<std::FILE, FileCloser> file(std::fopen(path.c_str(), "rb"));
    if (!file) return signature;

    // The first and the last block only: a save rewrites the head (placement, font, counts) and
    // the tail, and size and time catch most of the rest, so the check costs two reads, not the
    // whole pad, when a window opens or is activated.
    if (std::fseek(file.get(), 0, SEEK_END) != 0) return signature;
    const long size = std::ftell(file.get());
    if (size < 0) return signature;
    ContentHash hash;
    std::vector<unsigned char> block(head_and_tail);
    for (const long at : {0L, std::max(0L, size - head_and_tail)}) {
        if (std::fseek(file.get(), at, SEEK_SET) != 0) return signature;
        const std::size_t got = std::fread(block.data(), 1, block.size(), file.get());
        if (std::ferror(file.get())) return signature;
        hash.add(block.data(), got);
    }
    signature.exists = true;
    signature.size = static_cast<std::uintmax_t>(size);
    signature.modified = static_cast<std::int64_t>(modified.time_since_epoch().count());
    signature.hash = hash.value();
    return signature;
}
