#include "tools/pad_check.h"

#include "storage/mapfile.h"
#include "storage/pad_document.h"
#include "support/messages.h"
#include "support/texts.h"
#include "sync/sync_stamp.h"

#include <cstdio>
#include <map>
#include <optional>

namespace {

// Font names must fit the system's font record.
constexpr std::size_t longest_font_name = 31;

class Checker {
public:
    explicit Checker(const std::string& path) : path(path), file(path, Mapfile::read) {}

    PadCheck run() {
        try {
            check_header();
            check_nibs();
            check_deletions();
        } catch (const msg_exception& error) {
            // Reading cannot go on; what was found before still counts.
            result.problems.push_back(path + ": " + error.text);
        }
        return result;
    }

private:
    std::optional<std::string> value(const std::string& key) {
        try {
            return file.get(key);
        } catch (const Mapfile::no_such_key&) {
            return std::nullopt;
        }
    }

    void problem(const char* format, const std::string& a2 = {}, const std::string& a3 = {},
                 const std::string& a4 = {}) {
        result.problems.push_back(fill_message(format, path, a2, a3, a4));
    }

    void check_header() {
        auto name = value("FONT_NAME");
        auto size = value("FONT_SIZE");
        if (name.has_value() != size.has_value()) problem(texts.check_partial_font);
        if (name && name->size() > longest_font_name) problem(texts.check_long_font_name, *name);
        int placement_keys = 0;
        for (const char* key : {"WIN_LEFT", "WIN_TOP", "WIN_WIDTH", "WIN_HEIGHT"})
            if (value(key)) ++placement_keys;
        if (placement_keys != 0 && placement_keys != 4) problem(texts.check_partial_placement);
        if (value("FILE_VERSION")) {
            const std::int32_t version = file.get_int("FILE_VERSION");
            if (version > pad_file_version) problem(texts.check_newer_version, std::to_string(version));
        }
    }

    // Records an id and reports it when another key already holds it.
    void check_id(const std::string& key, const std::string& text) {
        Uuid id;
        try {
            id = uuid_from_text(text);
        } catch (const msg_exception&) {
            problem(texts.check_bad_id, key, text);
            return;
        }
        const std::string canonical = uuid_to_text(id);
        auto [at, added] = ids.emplace(canonical, key);
        if (!added) problem(texts.check_duplicate_id, canonical, at->second, key);
    }

    void check_time(const std::string& key, const std::string& text) {
        int seconds, millis, sequence;
        if (std::sscanf(text.c_str(), "%i %i %i", &seconds, &millis, &sequence) != 3)
            problem(texts.check_bad_time, key, text);
    }

    void check_nibs() {
        const std::int32_t n = file.get_int("NNIBS");
        if (n < 0) problem(texts.check_negative_count, std::to_string(n));
        for (std::int32_t i = 0; i < n; ++i) {
            const std::string index = std::to_string(i);
            file.get("NIB" + index);
            ++result.nibs;
            auto id = value("ID" + index);
            auto time = value("TMOD" + index);
            if (!id) problem(texts.check_missing_stamp, index, "ID" + index);
            else if (!time) problem(texts.check_missing_stamp, index, "TMOD" + index);
            if (id) check_id("ID" + index, *id);
            if (time) check_time("TMOD" + index, *time);
        }
    }

    void check_deletions() {
        for (int j = 0;; ++j) {
            const std::string prefix = "DEL" + std::to_string(j);
            auto id = value(prefix + "_ID");
            if (!id) break;
            auto time = value(prefix + "_TS");
            if (!time) {
                problem(texts.check_incomplete_deletion, std::to_string(j));
                break;
            }
            ++result.deletions;
            check_id(prefix + "_ID", *id);
            check_time(prefix + "_TS", *time);
        }
    }

    std::string path;
    Mapfile file;
    PadCheck result;
    std::map<std::string, std::string> ids;  // canonical id text to the key that first held it
};

}  // namespace

PadCheck check_pad_file(const std::string& path) { return Checker(path).run(); }
