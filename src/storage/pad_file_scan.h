#pragma once
// One pass over a pad file's records in the order they stand. Each nib is handed on as soon as
// its records are read, in the pad's order, so that a reader need not hold a large pad whole:
// listing and finding stream, loading builds the pad directly. Files written in another order
// (by hand, or sorted) read the same, only with more of them held until their nibs are complete.
#include "model/nib.h"
#include "storage/mapfile.h"
#include "storage/pad_document.h"

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

// A nib's records as the file holds them; the id and time are empty when missing.
struct StoredNib {
    std::string_view text;  // empty when the sink did not want it
    std::string_view id;
    std::string_view time;
    bool wanted = true;

    // A nib keeps its stored id and time only when both are given.
    bool has_identity() const { return !id.empty() && !time.empty(); }
    // The nib as a load makes it.
    Nib make() const { return has_identity() ? Nib(text, std::string(id), std::string(time)) : Nib(text); }
};

class NibSink {
public:
    virtual ~NibSink() = default;
    // The number of nibs the file holds, once known, before the first nib.
    virtual void expect(std::int32_t count) { (void)count; }
    // Whether the nib with this text is wanted whole: a text not wanted is not kept until the
    // nib is complete, and the nib is handed on without it.
    virtual bool wants(std::string_view text) {
        (void)text;
        return true;
    }
    // The next nib; the texts stay valid only during the call.
    virtual void take(const StoredNib& nib) = 0;
};

// Reads every record of `file` (opened for reading, nothing read yet). Where a key stands more
// than once its first record counts. Throws Mapfile::no_such_key when the count or a nib's text
// is missing, and the file's own errors; the sink may then have taken some nibs.
PadFileHeader scan_pad_file(Mapfile& file, NibSink& nibs, std::vector<SyncStamp>& deletions);
