#include "storage/pad_file_scan.h"

#include <algorithm>
#include <limits>
#include <optional>
#include <string>
#include <string_view>
#include <unordered_map>

namespace {

// A key's number as a pad file writes it: decimal digits without a leading zero, up to 2^31 - 1.
std::optional<std::int32_t> key_number(std::string_view digits) {
    if (digits.empty() || digits.size() > 10 || (digits[0] == '0' && digits.size() > 1)) return std::nullopt;
    std::int64_t number = 0;
    for (char c : digits) {
        if (c < '0' || c > '9') return std::nullopt;
        number = number * 10 + (c - '0');
    }
    if (number > std::numeric_limits<std::int32_t>::max()) return std::nullopt;
    return static_cast<std::int32_t>(number);
}

struct PendingNib {
    std::string text, id, time;
    bool has_text = false, has_id = false, has_time = false, wanted = true;

    bool complete() const { return has_text && has_id && has_time; }
    // The first record of each part counts.
    void set(std::string& part, bool& has, std::string_view value) {
        if (has) return;
        part.assign(value);
        has = true;
    }
    StoredNib stored() const {
        return {wanted ? text : std::string_view(), has_id ? id : std::string_view(), has_time ? time : std::string_view(),
                wanted};
    }
};

// A deletion record's half, sorted by number at the end: only the run from 0 counts.
struct DeletionPart {
    std::int32_t number;
    bool is_time;
    std::string text;
};

class Scan {
public:
    explicit Scan(NibSink& sink) : sink(sink) {}

    void record(std::string_view key, std::string_view value) {
        if (key.starts_with("NIB")) {
            if (auto number = key_number(key.substr(3))) nib_part(*number, 0, value);
        } else if (key.starts_with("ID")) {
            if (auto number = key_number(key.substr(2))) nib_part(*number, 1, value);
        } else if (key.starts_with("TMOD")) {
            if (auto number = key_number(key.substr(4))) nib_part(*number, 2, value);
        } else if (key.starts_with("DEL")) {
            deletion_part(key.substr(3), value);
        } else if (key == "NNIBS") {
            if (count) return;
            count = leading_int(value);
            sink.expect(*count);
            std::erase_if(pending, [this](const auto& entry) { return entry.first >= *count; });
            hand_on_complete();
        } else {
            header_part(key, value);
        }
    }

    PadFileHeader finish(std::vector<SyncStamp>& deletions) {
        if (!count) throw Mapfile::no_such_key("NNIBS");
        // Nibs still waiting lack an id or a time: they take new ones.
        for (; next < *count; ++next) {
            const PendingNib* nib = waiting(next);
            if (!nib || !nib->has_text) throw Mapfile::no_such_key("NIB" + std::to_string(next));
            sink.take(nib->stored());
            drop_waiting(next);
        }
        collect_deletions(deletions);
        PadFileHeader header;
        if (font_name && font_size) header.font = PadFont{*font_name, leading_int(*font_size)};
        if (left && top && width && height)
            header.placement = WindowPlacement{leading_int(*left), leading_int(*top), leading_int(*width), leading_int(*height)};
        if (version) header.version = leading_int(*version);
        return header;
    }

private:
    void nib_part(std::int32_t number, int part, std::string_view value) {
        if (number < next || (count && number >= *count)) return;
        PendingNib& nib = number == next ? head : pending[number];
        if (part == 0) {
            // The sink looks at the text while the reader still holds it, before any copy.
            if (!nib.has_text) nib.wanted = sink.wants(value);
            nib.set(nib.text, nib.has_text, nib.wanted ? value : std::string_view());
        } else if (part == 1) nib.set(nib.id, nib.has_id, value);
        else nib.set(nib.time, nib.has_time, value);
        if (number == next && count) hand_on_complete();
    }

    // In a file written in order the next nib is the only one under way; it is filled in `head`,
    // whose strings keep their storage from nib to nib.
    const PendingNib* waiting(std::int32_t number) const {
        if (number == next) return &head;
        auto found = pending.find(number);
        return found == pending.end() ? nullptr : &found->second;
    }

    void drop_waiting(std::int32_t number) {
        head.has_text = head.has_id = head.has_time = false;
        auto found = pending.find(number + 1);
        if (found == pending.end()) return;
        head = std::move(found->second);
        pending.erase(found);
    }

    void hand_on_complete() {
        while (next < *count && head.complete()) {
            sink.take(head.stored());
            drop_waiting(next);
            ++next;
        }
    }

    void deletion_part(std::string_view rest, std::string_view value) {
        const bool is_time = rest.size() > 3 && rest.substr(rest.size() - 3) == "_TS";
        if (!is_time && !(rest.size() > 3 && rest.substr(rest.size() - 3) == "_ID")) return;
        if (auto number = key_number(rest.substr(0, rest.size() - 3)))
            deletion_parts.push_back(DeletionPart{*number, is_time, std::string(value)});
    }

    void collect_deletions(std::vector<SyncStamp>& deletions) {
        std::stable_sort(deletion_parts.begin(), deletion_parts.end(), [](const DeletionPart& a, const DeletionPart& b) {
            return a.number != b.number ? a.number < b.number : a.is_time < b.is_time;
        });
        const std::string* parts[2] = {};
        std::int32_t wanted = 0;
        for (const DeletionPart& part : deletion_parts) {
            if (part.number < wanted) continue;  // a later record of a pair already taken
            if (part.number > wanted) break;
            if (!parts[part.is_time]) parts[part.is_time] = &part.text;
            if (parts[0] && parts[1]) {
                deletions.emplace_back(*parts[0], *parts[1]);
                parts[0] = parts[1] = nullptr;
                ++wanted;
            }
        }
    }

    void header_part(std::string_view key, std::string_view value) {
        std::optional<std::string>* part = key == "FONT_NAME"      ? &font_name
                                           : key == "FONT_SIZE"    ? &font_size
                                           : key == "WIN_LEFT"     ? &left
                                           : key == "WIN_TOP"      ? &top
                                           : key == "WIN_WIDTH"    ? &width
                                           : key == "WIN_HEIGHT"   ? &height
                                           : key == "FILE_VERSION" ? &version
                                                                   : nullptr;
        if (part && !*part) *part = std::string(value);
    }

    NibSink& sink;
    std::optional<std::int32_t> count;
    std::int32_t next = 0;  // the number of the next nib to hand on
    PendingNib head;
    std::unordered_map<std::int32_t, PendingNib> pending;  // nibs after the next, read early
    std::vector<DeletionPart> deletion_parts;
    std::optional<std::string> font_name, font_size, left, top, width, height, version;
};

}  // namespace

PadFileHeader scan_pad_file(Mapfile& file, NibSink& nibs, std::vector<SyncStamp>& deletions) {
    Scan scan(nibs);
    std::string_view key, value;
    while (file.next_record(key, value)) scan.record(key, value);
    return scan.finish(deletions);
}
