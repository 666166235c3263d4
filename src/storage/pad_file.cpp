// The pad's own keys of a pad file: the nibs with their ids and times, then the deletion records.
#include "model/pad.h"
#include "storage/mapfile.h"
#include "storage/pad_file_scan.h"

#include <algorithm>
#include <string>
#include <utility>

namespace {

const std::string deletion_prefix = "DEL";

// The shortest record a nib can have, "NIB0 (0): ": a count beyond what the file can hold
// reserves no more than the file could fill.
constexpr std::uint64_t least_nib_bytes = 10;

}  // namespace

void Pad::load(Mapfile& file, PadFileHeader* header) {
    // Built aside and moved in, so that a file that fails part-way leaves this pad as it was.
    class Builder : public NibSink {
    public:
        Builder(Pad& pad, std::uint64_t file_size) : pad(pad), file_size(file_size) {}
        void expect(std::int32_t count) override {
            if (count > 0)
                pad.items.reserve(std::min<std::uint64_t>(static_cast<std::uint64_t>(count), file_size / least_nib_bytes) + 1);
        }
        void take(const StoredNib& nib) override { pad.add_nib(nib.make()); }

    private:
        Pad& pad;
        std::uint64_t file_size;
    };
    Pad loaded;
    Builder builder(loaded, file.file_size());
    PadFileHeader read = scan_pad_file(file, builder, loaded.deleted);
    loaded.show_first();
    *this = std::move(loaded);
    if (header) *header = std::move(read);
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

void Pad::save_changes(Mapfile& file, const std::string* pending) const {
    Nib typed;
    if (pending) {
        // As set_current_text would store it: stamped now, and under an id of its own when it
        // is the first text of an empty nib that another pad may share.
        const Nib& current = items[current_];
        typed = current;
        typed.set_text(*pending);
        typed.time = Timestamp::now();
        if (current.text().empty() && current.shared() && !typed.text().empty()) typed.renew_id();
    }
    std::vector<const Nib*> changed;
    for (std::size_t i = 0; i < items.size(); ++i) {
        if (pending && static_cast<std::int32_t>(i) == current_)
            changed.push_back(&typed);
        else if (items[i].changed())
            changed.push_back(&items[i]);
    }
    file.put_int("NNIBS", static_cast<std::int32_t>(changed.size()));
    for (std::size_t i = 0; i < changed.size(); ++i) {
        const std::string index = std::to_string(i);
        file.put("NIB" + index, changed[i]->text());
        file.put("ID" + index, changed[i]->id_text());
        file.put("TMOD" + index, changed[i]->time_text());
    }
    std::vector<SyncStamp> records = recent_deletions_;
    write_records(file, deletion_prefix, records);
}
