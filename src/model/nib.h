#pragma once
// One note: its identity and time, its text, and whether it matched the pad's find query.
#include "model/case_fold.h"
#include "model/text_search.h"
#include "sync/sync_stamp.h"

#include <cstdint>
#include <string>
#include <string_view>

class Nib : public SyncStamp {
public:
    // An empty nib with a new id, stamped now.
    Nib();
    // A nib with a new id, stamped now.
    explicit Nib(std::string_view text);
    // A nib read back from its stored text, id text and time text.
    Nib(std::string_view text, const std::string& id_text, const std::string& time_text);

    // Stores the text with every line end as carriage return and line feed, up to the first zero
    // byte. Leaves the time alone: the pad stamps its nibs.
    void set_text(std::string_view text);

    // Matches against a lower-case query; sets and returns `found`. An empty query matches.
    std::int32_t match(const std::string& lower_query);
    // The same with the query prepared once for many nibs.
    std::int32_t match(const std::string& lower_query, const TextSearch& search);

    const std::string& text() const { return text_; }
    std::int32_t found() const { return found_; }
    // Offset of the first match in the text, -1 when none or the query was empty.
    std::int32_t match_pos() const { return match_pos_; }

    // Whether another pad may hold this nib under the same id: it was read from a file or came
    // through a synchronisation. A note typed into such a nib while it is empty needs an id of
    // its own, or two notes typed apart into the same empty nib would meet as one.
    bool shared() const { return shared_; }
    void mark_shared() { shared_ = true; }
    void renew_id() {
        id = new_uuid();
        shared_ = false;
    }

    // Whether the nib differs from the pad's file: made or edited since the pad was last loaded
    // or saved. Merges carry it with the nib, so a version taken from the file comes clean.
    bool changed() const { return changed_; }
    void mark_changed(bool changed = true) { changed_ = changed; }

    // Alphabetical order: bytes compared unsigned, a prefix first.
    friend bool operator<(const Nib& a, const Nib& b) { return a.text_ < b.text_; }

private:
    // A large pad holds a hundred thousand of these: the small fields share one word.
    std::string text_;
    std::int32_t match_pos_ = -1;
    bool found_ = true;
    bool shared_ = false;
    bool changed_ = true;
};

// Writes `text` over `target` as a nib holds it: up to the first zero byte, with a carriage
// return put before every line feed that lacks one.
void store_nib_text(std::string& target, std::string_view text);
