#include "tools/streamed_nibs.h"

#include "model/nib.h"
#include "storage/mapfile.h"
#include "storage/pad_file_scan.h"

#include <array>
#include <cstring>
#include <limits>
#include <optional>
#include <vector>

namespace {

// A nib's text is cut at its first zero byte.
bool empty_text(std::string_view stored) { return stored.empty() || stored[0] == '\0'; }

// The form that uuid_to_text gives, which needs no decoding to be shown as a load would show it.
bool plain_id(std::string_view id) {
    static constexpr char pattern[] = "xxxxxxxx-xxxx-xxxx-xxxx-xxxxxxxxxxxx";
    static const std::array<bool, 256> lower_hex = [] {
        std::array<bool, 256> table{};
        for (char c : std::string_view("0123456789abcdef")) table[static_cast<unsigned char>(c)] = true;
        return table;
    }();
    if (id.size() != sizeof pattern - 1) return false;
    bool plain = true;
    for (std::size_t i = 0; i < id.size(); ++i)
        plain &= pattern[i] == '-' ? id[i] == '-' : lower_hex[static_cast<unsigned char>(id[i])];
    return plain;
}

// The seconds of a stored time as Timestamp::from_text reads them; the decimal digits this
// program writes are read without a copy.
std::int32_t stored_seconds(std::string_view time) {
    if (!time.empty() && time[0] >= '1' && time[0] <= '9') {
        std::int64_t value = 0;
        std::size_t i = 0;
        for (; i < time.size() && i < 10 && time[i] >= '0' && time[i] <= '9'; ++i) value = value * 10 + (time[i] - '0');
        const bool more_digits = i < time.size() && time[i] >= '0' && time[i] <= '9';
        if (!more_digits && value <= std::numeric_limits<std::int32_t>::max()) return static_cast<std::int32_t>(value);
    }
    return Timestamp::from_text(std::string(time)).seconds;
}

void show_nib(const ShowNib& show, std::size_t position, const Nib& nib) {
    const std::string id = nib.id_text();
    show(ListedNib{position, id, nib.time.seconds, nib.text()});
}

void show_stored(const ShowNib& show, std::size_t position, const StoredNib& stored) {
    if (stored.has_identity() && plain_id(stored.id))
        show(ListedNib{position, stored.id, stored_seconds(stored.time), stored.text});
    else
        show_nib(show, position, stored.make());  // a new identity, or a malformed id failing as a load fails
}

// The nibs as loading leaves them: an empty nib that another follows gives way to it, and a pad
// of no nibs holds one empty nib.
class LoadedNibs : public NibSink {
public:
    void take(const StoredNib& nib) override {
        held.reset();
        any = true;
        if (!nib.wanted)
            passed_over();
        else if (empty_text(nib.text))
            held = nib.make();
        else
            loaded(nib);
    }
    void finish() {
        if (held) last_empty(*held);
        else if (!any) last_empty(Nib());
    }

protected:
    virtual void loaded(const StoredNib& nib) = 0;
    // A nib with a text that wants() declined.
    virtual void passed_over() {}
    // The empty nib the loaded pad ends with.
    virtual void last_empty(const Nib& nib) = 0;

private:
    std::optional<Nib> held;
    bool any = false;
};

void scan(const std::string& path, LoadedNibs& nibs) {
    Mapfile file(path, Mapfile::read);
    std::vector<SyncStamp> deletions;
    scan_pad_file(file, nibs, deletions);
    file.close();
    nibs.finish();
}

}  // namespace

void for_each_listed_nib(const std::string& path, const ShowNib& show) {
    class Listed : public LoadedNibs {
    public:
        explicit Listed(const ShowNib& show) : show(show) {}

    private:
        void loaded(const StoredNib& nib) override { show_stored(show, ++position, nib); }
        void last_empty(const Nib& nib) override { show_nib(show, ++position, nib); }
        const ShowNib& show;
        std::size_t position = 0;
    } listed(show);
    scan(path, listed);
}

void for_each_found_nib(const std::string& path, const std::string& query, const ShowNib& show) {
    class Found : public LoadedNibs {
    public:
        Found(const std::string& query, const ShowNib& show)
            : lower_query(lower_case(query)), search(lower_query), show(show),
              plain_query(lower_query.find_first_of(std::string_view("\r\n\0", 3)) == std::string::npos) {}

    private:
        // Only the nibs the query finds, and empty ones, are kept until their records are read.
        bool wants(std::string_view text) override { return empty_text(text) || matches(text); }
        void loaded(const StoredNib& nib) override { show_stored(show, ++position, nib); }
        void passed_over() override { ++position; }
        // The find drops empty nibs unless one is all the pad holds; it matches the empty query.
        void last_empty(const Nib& nib) override {
            if (position == 0 && lower_query.empty()) show_nib(show, 1, nib);
        }
        bool matches(std::string_view stored) {
            if (lower_query.empty()) return true;
            if (!plain_query) {
                store_nib_text(text, stored);
                return search.find_in(text) != std::string::npos;
            }
            // A query without line ends matches the stored text where it matches the nib's,
            // which adds carriage returns only beside line feeds, if no zero byte cuts it off.
            const std::size_t at = search.find_in(stored);
            return at != std::string::npos && !std::memchr(stored.data(), 0, at + lower_query.size());
        }
        const std::string lower_query;
        const TextSearch search;
        const ShowNib& show;
        const bool plain_query;
        std::string text;
        std::size_t position = 0;
    } found(query, show);
    scan(path, found);
}
