// Listing and finding while the file is read give what loading the pad and finding in it give,
// whatever order the file's records stand in.
#include "mapfile_test_support.h"
#include "storage/pad_document.h"
#include "tools/streamed_nibs.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <random>
#include <set>

namespace {

using Records = std::vector<std::pair<std::string, std::string>>;

std::string bytes_of(const Records& records) {
    std::string bytes;
    for (const auto& [key, value] : records) bytes += key + " (" + std::to_string(value.size()) + "): " + value + "\n";
    return bytes;
}

// A pad file of a few nibs with empty texts, zero bytes, lone line feeds, nibs without a time,
// deletion records and a header, as records in the written order.
Records random_pad(std::mt19937& rng, std::set<std::string>& kept_ids) {
    const std::string pieces[] = {"a", "B", "\r\n", "\n", std::string(1, '\0'), "x", " ", "\xc9"};
    const auto random_id = [&rng] {
        std::string id = SyncStamp().id_text();
        if (rng() % 4 == 0) std::transform(id.begin(), id.end(), id.begin(), [](char c) { return std::toupper(c); });
        return id;
    };
    Records records = {{"FONT_NAME", "Arial"}, {"FONT_SIZE", "9"},      {"WIN_LEFT", "1"},        {"WIN_TOP", "2"},
                       {"WIN_WIDTH", "3"},     {"WIN_HEIGHT", "4"},     {"FILE_VERSION", "1000"}};
    const int n = static_cast<int>(rng() % 8);
    records.push_back({"NNIBS", std::to_string(n)});
    for (int i = 0; i < n; ++i) {
        std::string text;
        for (int k = rng() % 4 == 0 ? 0 : static_cast<int>(rng() % 10); k > 0; --k) text += pieces[rng() % std::size(pieces)];
        const std::string id = random_id(), index = std::to_string(i);
        records.push_back({"NIB" + index, text});
        records.push_back({"ID" + index, id});
        if (rng() % 5 == 0) continue;  // no time: the nib takes a new identity
        records.push_back({"TMOD" + index, std::to_string(900000000 + rng() % 1000) + " 5 " + index});
        kept_ids.insert(uuid_to_text(uuid_from_text(id)));
    }
    records.push_back({"NIB" + std::to_string(n), "past the count"});
    for (int i = 0, deletions = static_cast<int>(rng() % 3); i < deletions; ++i) {
        records.push_back({"DEL" + std::to_string(i) + "_ID", random_id()});
        records.push_back({"DEL" + std::to_string(i) + "_TS", "7 8 9"});
    }
    return records;
}

// What the streaming commands hand on (`streaming`), or the same from the loaded pad: position,
// text as the nib holds it, and the id and time where the file gives them.
using Shown = std::tuple<std::size_t, std::string, std::string>;

std::vector<Shown> shown(const std::string& path, const std::string* query, const std::set<std::string>& kept_ids,
                         bool streaming) {
    std::vector<Shown> result;
    const auto add = [&](std::size_t position, const std::string& text, const std::string& id, std::int32_t seconds) {
        result.emplace_back(position, text, kept_ids.count(id) ? id + ' ' + std::to_string(seconds) : "new");
    };
    if (streaming) {
        const ShowNib show = [&](const ListedNib& nib) {
            std::string text;
            store_nib_text(text, nib.text);
            add(nib.position, text, std::string(nib.id), nib.seconds);
        };
        query ? for_each_found_nib(path, *query, show) : for_each_listed_nib(path, show);
        return result;
    }
    Pad pad = read_pad_file(path).pad;
    if (query && !pad.find(*query)) return result;
    for (std::size_t i = 0; i < pad.nibs().size(); ++i)
        if (const Nib& nib = pad.nibs()[i]; !query || nib.found()) add(i + 1, nib.text(), nib.id_text(), nib.time.seconds);
    return result;
}

}  // namespace

TEST(StreamedNibs, ListAndFindEqualTheLoadedPadInAnyRecordOrder) {
    ScratchFolder folder;
    const std::string path = folder.path("pad.nib");
    const std::string queries[] = {"", "a", "Ab", "b\r\na", "\xe9", "x b", "\n"};
    std::mt19937 rng(3);
    for (int round = 0; round < 600; ++round) {
        std::set<std::string> kept_ids;
        Records records = random_pad(rng, kept_ids);
        std::shuffle(records.begin(), records.end(), rng);
        write_bytes(path, bytes_of(records));
        ASSERT_EQ(shown(path, nullptr, kept_ids, false), shown(path, nullptr, kept_ids, true)) << round;
        for (const std::string& query : queries)
            ASSERT_EQ(shown(path, &query, kept_ids, false), shown(path, &query, kept_ids, true)) << round << " " << query;
    }
}
