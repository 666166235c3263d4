#include "model/pad.h"

#include <algorithm>

namespace {

// Each nib's text lies in a block of its own, wherever loading put it: asking for the texts a
// few nibs ahead hides the wait for memory, which otherwise costs more than the search itself.
constexpr std::int32_t prefetch_distance = 8;

void prefetch_text(const std::string& text) {
#if defined(__GNUC__) || defined(__clang__)
    __builtin_prefetch(text.data());
    if (text.size() > 64) __builtin_prefetch(text.data() + 64);
#else
    (void)text;
#endif
}

}  // namespace

Pad::Pad() { append(Nib()); }

void Pad::next() {
    if (found_pos_ + 1 >= found_count_) return;
    ++current_;
    ++found_pos_;
    while (!items[current_].found()) ++current_;
}

void Pad::previous() {
    if (found_pos_ <= 0) return;
    --found_pos_;
    --current_;
    while (!items[current_].found()) --current_;
}

void Pad::go_to(std::int32_t position) {
    if (position < 1 || position > found_count_) return;
    while (position > found_pos_ + 1) next();
    while (position < found_pos_ + 1) previous();
}

std::int32_t Pad::find(const std::string& query) {
    remove_empty();
    find_text_ = query;
    find_lower_ = lower_case(query);
    const TextSearch search(find_lower_);
    std::int32_t keep = items[current_].match(find_lower_, search);
    found_count_ = 0;
    found_pos_ = 0;
    for (std::int32_t i = 0; i < count(); ++i) {
        if (i + prefetch_distance < count()) prefetch_text(items[i + prefetch_distance].text());
        if (!items[i].match(find_lower_, search)) continue;
        ++found_count_;
        if (!keep) {
            current_ = i;
            keep = 1;
        } else if (i < current_) {
            ++found_pos_;
        }
    }
    return keep;
}

void Pad::remove_empty() {
    // One pass rather than an erase per nib, so that many empty nibs cost no more than one.
    const bool all_empty =
        std::all_of(items.begin(), items.end(), [](const Nib& nib) { return nib.text().empty(); });
    const std::size_t size = items.size();
    std::size_t kept = 0;
    std::int32_t new_current = 0;
    for (std::size_t i = 0; i < size; ++i) {
        bool last_of_all_empty = all_empty && i + 1 == size;
        if (!items[i].text().empty() || last_of_all_empty) {
            if (static_cast<std::int32_t>(i) == current_) new_current = static_cast<std::int32_t>(kept);
            if (kept != i) items[kept] = std::move(items[i]);
            ++kept;
            continue;
        }
        items[i].time = Timestamp::now();
        deleted.push_back(static_cast<const SyncStamp&>(items[i]));
        recent_deletions_.push_back(deleted.back());
        // A dropped current nib hands over to the nib before it, or to the first.
        if (static_cast<std::int32_t>(i) == current_) new_current = kept > 0 ? static_cast<std::int32_t>(kept) - 1 : 0;
    }
    if (kept == size) return;
    items.erase(items.begin() + static_cast<std::ptrdiff_t>(kept), items.end());
    current_ = new_current;
}

void Pad::set_current_text(std::string_view text) {
    Nib& nib = items[current_];
    const bool first_text_of_shared = nib.text().empty() && nib.shared();
    nib.set_text(text);
    nib.mark_changed();
    if (first_text_of_shared && !nib.text().empty()) {
        // The empty nib is gone here; its record removes it elsewhere unless typed into there too.
        SyncStamp gone = nib;
        gone.time = Timestamp::now();
        deleted.push_back(gone);
        recent_deletions_.push_back(gone);
        nib.renew_id();
    }
    touch(static_cast<std::size_t>(current_));
}

void Pad::new_nib() {
    if (current_text().empty()) return;
    append_current(Nib());
}

void Pad::append_current(Nib&& nib) {
    append(std::move(nib));
    ++found_count_;
    current_ = count() - 1;
    found_pos_ = found_count_ - 1;
}

void Pad::add_nib(std::string_view text, const std::string& id_text, const std::string& time_text) {
    add_nib(!id_text.empty() && !time_text.empty() ? Nib(text, id_text, time_text) : Nib(text));
}

void Pad::add_nib(Nib&& nib) {
    const std::int32_t placeholder = current_text().empty() ? current_ : -1;
    append(std::move(nib));
    if (placeholder < 0) {
        ++found_count_;
    } else {
        // The placeholder may be a nib the query did not find; the new nib is found either way.
        found_count_ += 1 - items[placeholder].found();
        items.erase(items.begin() + placeholder);
    }
    current_ = count() - 1;
    found_pos_ = found_count_ - 1;
}

void Pad::delete_current() {
    const std::int32_t old_position = position();
    const std::int32_t old_current = current_;
    remove(static_cast<std::size_t>(current_));
    recent_deletions_.push_back(deleted.back());
    if (current_ > 0) --current_;
    if (items.empty()) {
        append(Nib());
        found_count_ = 1;
        current_ = 0;
        found_pos_ = 0;
    }
    find(find_text_);
    if (count() == found_count_) {
        // Empty nibs dropped before the deleted one may leave fewer nibs than its index.
        current_ = std::min(old_current > 0 ? old_current - 1 : 0, count() - 1);
        found_pos_ = current_;
    } else {
        go_to(old_position > 1 ? old_position - 1 : old_position);
    }
}

void Pad::move_current(std::int32_t target) {
    if (target < 0 || target >= count()) return;
    auto from = items.begin() + current_;
    auto to = items.begin() + target;
    if (to < from)
        std::rotate(to, from, from + 1);
    else
        std::rotate(from, from + 1, to + 1);
    current_ = target;
    find(std::string());
}

void Pad::sort_alphabetically() {
    std::sort(items.begin(), items.end());
    current_ = 0;
    find(std::string());
}

void Pad::synchronise(Pad& a, Pad& b) {
    // The merges of SyncVector::synchronize; b takes a's result below, after a's find.
    a.exchange(b);
    // Each side deleting the other's newer nibs can leave nothing; a pad keeps one nib.
    if (a.items.empty()) a.append(Nib());
    a.show_first();
    a.find(std::string());
    for (Nib& nib : a.items) nib.mark_shared();
    // The empty nibs that the find dropped leave deletion records stamped now; b takes a's,
    // so that the two pads stay equal and a second synchronisation changes nothing.
    if (&a == &b) return;
    b.take_nibs_of(a);
    for (Nib& nib : b.items) nib.mark_shared();
    b.show_first();
    b.find(std::string());
}

void Pad::mark_saved() {
    for (Nib& nib : items) nib.mark_changed(false);
    recent_deletions_.clear();
}

void Pad::mark_all_changed() {
    for (Nib& nib : items) nib.mark_changed();
    recent_deletions_ = deleted;
}

void Pad::take_changes(Pad&& recovered) {
    // Merges carry each nib's mark: the recovered versions that win stay marked here.
    recovered.mark_all_changed();
    recent_deletions_.insert(recent_deletions_.end(), recovered.deleted.begin(), recovered.deleted.end());
    synchronise(*this, recovered);
}

void Pad::take_nibs_of(const Pad& model) {
    // After the merges this pad holds nearly every nib of the model already. Its own copies are
    // moved into the model's order in place: a second list of a large pad's nibs would cost
    // fresh memory, which is slow to touch for the first time, and copying every text.
    const IdIndex mine(items, std::vector<SyncStamp>());
    const std::size_t wanted_count = model.items.size();
    std::vector<std::int32_t> source(wanted_count, -1);  // where each wanted nib stands now
    std::vector<char> used(items.size(), 0);
    for (std::size_t p = 0; p < wanted_count; ++p) {
        const Nib& wanted = model.items[p];
        const std::int32_t own = mine.find(wanted.id).item;
        if (own >= 0 && !used[own] && items[own].time == wanted.time && items[own].text() == wanted.text()) {
            source[p] = own;
            used[own] = 1;
        }
    }
    // Nibs this pad lacks, or holds in another version, are copied over ones it no longer needs,
    // or appended; then `source` maps every place to a distinct nib.
    std::size_t spare = 0;
    for (std::size_t p = 0; p < wanted_count; ++p) {
        if (source[p] >= 0) continue;
        while (spare < used.size() && used[spare]) ++spare;
        if (spare < used.size()) {
            items[spare] = model.items[p];
        } else {
            items.push_back(model.items[p]);
            used.push_back(0);
        }
        source[p] = static_cast<std::int32_t>(spare);
        used[spare] = 1;
    }
    // The nibs no longer needed go to the places past the wanted ones, making `source` a
    // permutation of the whole list, which is applied cycle by cycle.
    for (std::size_t i = 0; i < used.size(); ++i)
        if (!used[i]) source.push_back(static_cast<std::int32_t>(i));
    std::vector<char> placed(items.size(), 0);
    for (std::size_t start = 0; start < items.size(); ++start) {
        if (placed[start]) continue;
        Nib held = std::move(items[start]);
        std::size_t at = start;
        while (static_cast<std::size_t>(source[at]) != start) {
            items[at] = std::move(items[source[at]]);
            placed[at] = 1;
            at = static_cast<std::size_t>(source[at]);
        }
        items[at] = std::move(held);
        placed[at] = 1;
    }
    items.erase(items.begin() + static_cast<std::ptrdiff_t>(wanted_count), items.end());
    deleted = model.deleted;
}
