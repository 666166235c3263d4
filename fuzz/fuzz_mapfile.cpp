// Arbitrary bytes as a key/value file: every record is read, then keys that are absent. Nothing
// may crash, hang or allocate beyond the file's size; errors must be the file's own exceptions.
#include "storage/mapfile.h"

#include <cstdint>
#include <cstdio>
#include <string>
#include <unistd.h>

namespace {

const std::string& input_file() {
    // tmpfs: the flush to disk of every commit costs nothing there.
    static const std::string name = "/dev/shm/scrivel-fuzz-mapfile-" + std::to_string(getpid()) + ".nib";
    return name;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const std::string& file = input_file();
    if (std::FILE* out = std::fopen(file.c_str(), "wb")) {
        std::fwrite(data, 1, size, out);
        std::fclose(out);
    }
    // The first bytes also name keys to look for: found or not, the reader must stay sound.
    std::string probe(reinterpret_cast<const char*>(data), size < 8 ? size : 8);
    try {
        Mapfile map(file, Mapfile::read);
        for (const std::string& key : {probe, std::string("NNIBS"), std::string("-ABSENT-"), std::string("NIB0")}) {
            try {
                std::string value = map.get(key);
                char buffer[16];
                if (map.get_buffer(key, buffer, sizeof buffer) != static_cast<std::int32_t>(value.size())) __builtin_trap();
                map.get_int(key);
                map.get_double(key);
            } catch (const Mapfile::no_such_key&) {
            }
        }
    } catch (const Mapfile::file_error&) {
    }
    // What update mode accepted and committed must read back without a format error.
    bool committed = false;
    try {
        Mapfile map(file, Mapfile::update);
        map.commit();
        committed = true;
    } catch (const Mapfile::file_error&) {
    }
    if (committed) {
        Mapfile again(file, Mapfile::read);
        try {
            again.get("-ABSENT-");
        } catch (const Mapfile::no_such_key&) {
        }
    }
    return 0;
}
