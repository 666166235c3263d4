#include "storage/recovery_file.h"

#include "storage/mapfile.h"
#include "storage/pad_document.h"

#include <algorithm>

namespace {

const char* const pad_path_key = "PAD_PATH";

}  // namespace

std::int32_t RecoveredPad::count() const {
    const auto& nibs = changes.nibs();
    const auto typed = std::count_if(nibs.begin(), nibs.end(), [](const Nib& nib) { return !nib.text().empty(); });
    return static_cast<std::int32_t>(typed + changes.deletions().size());
}

void write_recovery(const std::string& path, const std::string& pad_path, const Pad& pad, const std::string* pending) {
    Mapfile file(path, Mapfile::write);
    file.put(pad_path_key, pad_path);
    file.put_int("FILE_VERSION", pad_file_version);
    pad.save_changes(file, pending);
    file.close();
}

RecoveredPad read_recovery(const std::string& path) {
    RecoveredPad recovered;
    {
        // The first record: only the start of the file is read for it.
        Mapfile file(path, Mapfile::read);
        recovered.pad_path = file.get(pad_path_key);
    }
    recovered.changes = read_pad_file(path).pad;
    return recovered;
}
