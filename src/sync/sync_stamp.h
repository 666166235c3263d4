#pragma once
// A nib's identity for life and the time of its last change. Synchronisation matches nibs by id
// and lets the newer time win.
#include "support/platform.h"
#include "sync/timestamp.h"

#include <string>

using Uuid = platform::Uuid;

// A new unique id, built from local sources when the system cannot make one.
Uuid new_uuid();
// Builds an id without the system's generator over `id`: time, process clock, a random number,
// the process id and a counter, with the root folder's listing mixed in.
void build_local_uuid(Uuid& id);

// The 36-character lower-case text and back. A malformed text raises the "Unexpected error".
std::string uuid_to_text(const Uuid& id);
Uuid uuid_from_text(const std::string& text);

// The system's order of ids; orders the id lookups of a merge.
bool uuid_less(const Uuid& a, const Uuid& b);
bool uuid_equal(const Uuid& a, const Uuid& b);

struct SyncStamp {
    Uuid id;
    Timestamp time;

    // A new id, stamped now.
    SyncStamp();
    // Parsed from the stored texts of the id and the time.
    SyncStamp(const std::string& id_text, const std::string& time_text);

    std::string id_text() const { return uuid_to_text(id); }
    std::string time_text() const { return time.to_text(); }

    friend bool operator==(const SyncStamp& a, const SyncStamp& b) {
        return uuid_equal(a.id, b.id) && a.time == b.time;
    }
};
