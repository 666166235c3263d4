// The pad's own keys of a pad file: the nibs with their ids and times, then the deletion records.
#include "model/pad.h"
#include "storage/mapfile.h"

#include <algorithm>
#include <charconv>
#include <string>
#include <utility>

namespace {

const std::string deletion_prefix = "DEL";

// The shortest record a nib can have, "NIB0 (0): ": a count beyond what the file can hold
// reserves no more than the file could fill.
constexpr std::uint64_t least_nib_bytes = 10;

// A key of a numbered nib, such as "NIB12", written over the same string each time.
void set_key(std::string& key, const char* prefix, std::int32_t index) {
    char digits[12];
    key.assign(prefix);
    key.append(digits, std::to_chars(digits, digits + sizeof digits, index).ptr);
}

}  // namespace

void Pad::load(Mapfile& file) {
    // Built aside and swapped in, so that a file that fails part-way leaves this pad as it was.
    Pad loaded;
    const std::int32_t n = file.get_int("NNIBS");
    if (n > 0) loaded.items.reserve(std::min<std::uint64_t>(static_cast<std::uint64_t>(n), file.file_size() / least_nib_bytes) + 1);
    // Each nib's keys are read once, in the written order: take() keeps no table of them.
    std::string key, text, id_text, time_text;
    for (std::int32_t i = 0; i < n; ++i) {
        set_key(key, "NIB", i);
        text.assign(file.take(key));
        id_text.clear();
        time_text.clear();
        try {
            set_key(key, "ID", i);
            id_text.assign(file.take(key));
            set_key(key, "TMOD", i);
            time_text.assign(file.take(key));
        } catch (const Mapfile::no_such_key&) {
            // The nib is kept with a new identity.
        }
        loaded.add_nib(text, id_text, time_text);
    }
    loaded.read_deleted(file, deletion_prefix);
    loaded.show_first();
    *this = std::move(loaded);
}

void Pad::save(Mapfile& file) {
    file.put_int("NNIBS", count());
    for (std::size_t i = 0; i < items.size(); ++i) {
        const std::string index = std::to_string(i);
        const Nib& nib = items[i];
        file.put("NIB" + index, nib.text());
        file.put("ID" + index, nib.id_text());
        file.put("TMOD" + index, nib.time_text());
    }
    write_deleted(file, deletion_prefix);
}
