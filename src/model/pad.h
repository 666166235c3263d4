#pragma once
// The document behind one main window: nibs in order, one of them current, and a find query that
// divides them into found and not found. A pad always holds at least one nib.
#include "model/nib.h"
#include "sync/sync_vector.h"

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

class Mapfile;
class ImportProgress;
struct PadFileHeader;

class Pad : private SyncVector<Nib> {
public:
    // One empty nib, current, found, no query.
    Pad();

    const std::string& current_text() const { return items[current_].text(); }
    std::int32_t current_match_pos() const { return items[current_].match_pos(); }
    std::int32_t count() const { return static_cast<std::int32_t>(items.size()); }
    std::int32_t found_count() const { return found_count_; }
    // Index from 0 of the current nib.
    std::int32_t current() const { return current_; }
    // 1-based position of the current nib among the found ones.
    std::int32_t position() const { return found_pos_ + 1; }
    const std::string& find_text() const { return find_text_; }

    // The nibs in order and the deletion records, for reading.
    const std::vector<Nib>& nibs() const { return items; }
    const std::vector<SyncStamp>& deletions() const { return deleted; }

    // Paging through the found nibs; positions are 1-based. Out of range does nothing.
    void next();
    void previous();
    void go_to(std::int32_t position);

    // Drops empty nibs, applies the query case-insensitively; the current nib stays current when
    // it matches, else the first match becomes current. Returns 1 when anything matched.
    std::int32_t find(const std::string& query);

    // Stores an edited text into the current nib and stamps it. The first text of an empty nib
    // that another pad may share makes it a new nib, leaving a deletion record of the empty one.
    void set_current_text(std::string_view text);
    // Appends an empty nib and makes it current, unless the current nib is empty already.
    void new_nib();
    // Removes the current nib, leaving a deletion record; the nib before it becomes current.
    void delete_current();
    // Moves the current nib to index `target` (0 <= target < count) and clears the query.
    void move_current(std::int32_t target);
    // Sorts by text, makes the first nib current and clears the query.
    void sort_alphabetically();

    // Appends a loaded nib; it keeps the stored id and time only when both texts are given. An
    // empty current nib is replaced rather than kept.
    void add_nib(std::string_view text, const std::string& id_text, const std::string& time_text);
    void add_nib(Nib&& nib);

    // Merges two pads: afterwards both hold the same nibs, the first nib is current and no query
    // is in force. `a` wins where both hold equally new versions.
    static void synchronise(Pad& a, Pad& b);

    // What differs from the pad's file: the changed nibs and the deletion records made since the
    // pad was last loaded or saved. mark_saved forgets them; mark_all_changed counts everything.
    void mark_saved();
    void mark_all_changed();
    // Synchronises the changes of an ended session into this pad; they stay changes here.
    void take_changes(Pad&& recovered);

    // Pad file and text file operations (defined with the storage code).
    // Reads NNIBS, nibs and deletion records into a fresh pad in one pass over the file, and the
    // keys around the pad into `header` when given. The pad changes only when all went well.
    void load(Mapfile& file, PadFileHeader* header = nullptr);
    void save(Mapfile& file);                       // writes them, purging old deletion records
    // Writes only the changes as a pad, with `pending` (when given) as the current nib's text,
    // as a commit would store it, without committing it.
    void save_changes(Mapfile& file, const std::string* pending) const;
    void export_text(const std::string& path, const std::string& separator, int all) const;
    void import_text(const std::string& path, const std::string& separator, ImportProgress* progress = nullptr);

private:
    // Appends the nib, found, and makes it current.
    void append_current(Nib&& nib);
    // Drops every empty nib except a last remaining one, leaving deletion records.
    void remove_empty();
    // Becomes a copy of the model's nibs and deletion records; see synchronise.
    void take_nibs_of(const Pad& model);
    // The first nib current, as after loading.
    void show_first() {
        current_ = 0;
        found_pos_ = 0;
    }

    std::int32_t found_count_ = 1;
    std::int32_t current_ = 0;
    std::int32_t found_pos_ = 0;
    std::string find_text_;
    std::string find_lower_;
    // The deletion records made since the last load or save.
    std::vector<SyncStamp> recent_deletions_;
};
