#include "storage/pad_file_merge.h"

#include "support/messages.h"
#include "support/texts.h"

bool merge_file_changes(const std::string& path, Pad& pad, FileSignature& known, NewerFile newer) {
    // Taken before the read: a change made while reading is seen next time, never missed.
    const FileSignature now = file_signature(path);
    if (now == known || !now.exists) return false;
    PadDocument stored;
    try {
        stored = read_pad_file(path);
    } catch (const msg_exception&) {
        // Not a whole pad at this moment; never taken for a pad whose nibs were all deleted.
        return false;
    }
    if (stored.header.newer() && newer != NewerFile::take) {
        if (newer == NewerFile::refuse)
            throw msg_exception(fill_message(texts.tool_newer_file, path), texts.newer_file, style_warning);
        return false;
    }
    Pad::synchronise(pad, stored.pad);
    known = now;
    return true;
}

bool written_by_newer_version(const std::string& path) {
    try {
        return PadFileReader(path).header().newer();
    } catch (const msg_exception&) {
        return false;
    }
}

bool save_merging(const std::string& path, const PadFileHeader& header, Pad& pad, FileSignature& known) {
    const bool merged = merge_file_changes(path, pad, known, NewerFile::refuse);
    write_pad_file(path, header, pad);
    known = file_signature(path);
    return merged;
}
