// The pad's own keys of a pad file: the nibs with their ids and times, then the deletion records.
#include "model/pad.h"
#include "storage/mapfile.h"

#include <string>
#include <utility>

namespace {
const std::string deletion_prefix = "DEL";
}

void Pad::load(Mapfile& file) {
    // Built aside and swapped in, so that a file that fails part-way leaves this pad as it was.
    Pad loaded;
    const std::int32_t n = file.get_int("NNIBS");
    for (std::int32_t i = 0; i < n; ++i) {
        const std::string index = std::to_string(i);
        const std::string text = file.get("NIB" + index);
        std::string id_text, time_text;
        try {
            id_text = file.get("ID" + index);
            time_text = file.get("TMOD" + index);
        } catch (const Mapfile::no_such_key&) {
            // The nib is kept with a new identity.
        }
        loaded.add_nib(text, id_text, time_text);
    }
    loaded.read_deleted(file, deletion_prefix);
    loaded.show_first();
    *this = std::move(loaded);
}

void Pad::save(Mapfile& file) const {
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
