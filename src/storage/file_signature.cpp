#include "storage/file_signature.h"

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

    ContentHash hash;
    // Whole blocks, so that the hash of a block does not depend on how the reads fell.
    std::vector<unsigned char> block(1 << 16);
    std::uintmax_t read = 0;
    for (std::size_t got; (got = std::fread(block.data(), 1, block.size(), file.get())) > 0; read += got)
        hash.add(block.data(), got);
    if (std::ferror(file.get())) return signature;
    signature.exists = true;
    // What was read counts: the file may have grown or shrunk since its size was asked.
    signature.size = read;
    signature.modified = static_cast<std::int64_t>(modified.time_since_epoch().count());
    signature.hash = hash.value();
    return signature;
}
