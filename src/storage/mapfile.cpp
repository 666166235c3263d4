#include "storage/mapfile.h"

#include "storage/record_reader.h"
#include "storage/record_writer.h"
#include "support/platform.h"
#include "support/texts.h"

#include <algorithm>
#include <cerrno>
#include <charconv>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <limits>

namespace {

// Keys the reader can find again: one to 200 characters, none of them white space.
bool readable_key(std::string_view key) {
    if (key.empty() || key.size() > 200) return false;
    for (char c : key)
        if (c == ' ' || c == '\t' || c == '\n' || c == '\v' || c == '\f' || c == '\r') return false;
    return true;
}

}  // namespace

std::int32_t leading_int(std::string_view text) {
    std::size_t i = 0;
    while (i < text.size() && (text[i] == ' ' || (text[i] >= '\t' && text[i] <= '\r'))) ++i;
    bool negative = false;
    if (i < text.size() && (text[i] == '+' || text[i] == '-')) negative = text[i++] == '-';
    std::int64_t value = 0;
    constexpr std::int64_t limit = std::int64_t{std::numeric_limits<std::int32_t>::max()} + 1;
    for (; i < text.size() && text[i] >= '0' && text[i] <= '9'; ++i) value = std::min(value * 10 + (text[i] - '0'), limit);
    if (negative) return static_cast<std::int32_t>(-value);
    return static_cast<std::int32_t>(std::min(value, limit - 1));
}

Mapfile::file_error::file_error(const std::string& text, int mode)
    : msg_exception(text, fill_message(texts.could_not_file_title, mode == Mapfile::read ? texts.open : texts.save),
                    style_stop) {}

Mapfile::no_such_key::no_such_key(std::string_view key)
    : msg_exception(fill_message(texts.no_such_key, std::string(key)), texts.unknown_key, style_warning) {}

Mapfile::Mapfile(const std::string& file_name_, int mode_) : file_name(file_name_), mode(mode_) {
    CHECK_CALL(mode == read || mode == write || mode == update);
    if (mode == write) {
        writer = std::make_unique<RecordWriter>(file_name, mode);
        return;
    }
    // Update mode reads the whole file now and rewrites it on commit; "r+b" refuses, as the
    // commit would, a file that cannot be written.
    std::FILE* file = platform::open_file(file_name, mode == read ? "rb" : "r+b");
    if (!file) {
        throw file_error(fill_message(texts.could_not_file, texts.open, file_name, std::strerror(errno)), mode);
    }
    reader = std::make_unique<RecordReader>(file);
    if (mode == read) {
        if (!platform::file_writable(file_name))
            show_message(nullptr, fill_message(texts.read_only_notice, file_name), texts.read_only, style_warning);
        return;
    }
    try {
        scan_for("-KEY-THAT-SHOULD-NEVER-OCCUR-45433598-");
    } catch (const no_such_key&) {
    }
}

Mapfile::~Mapfile() = default;

void Mapfile::require(bool allowed, const char* text) const {
    if (!allowed || closed) throw msg_exception(text, texts.error, style_warning);
}

void Mapfile::raise_format_error() const { throw file_error(fill_message(texts.format_error, file_name), mode); }

std::string_view Mapfile::scan_for(std::string_view key) {
    if (malformed) raise_format_error();
    if (at_end) throw no_such_key(key);
    std::string_view record_key;
    std::string_view value;
    for (;;) {
        switch (reader->next(record_key, value)) {
        case RecordReader::Result::end:
            at_end = true;
            reader->close();
            throw no_such_key(key);
        case RecordReader::Result::malformed:
            malformed = true;
            raise_format_error();
        case RecordReader::Result::record:
            // A later record of a key read before replaces it.
            reader->keep();
            cache.assign(record_key, value);
            if (record_key == key) return value;
            break;
        }
    }
}

bool Mapfile::next_record(std::string_view& key, std::string_view& value) {
    require(mode == read, texts.not_for_reading);
    if (malformed) raise_format_error();
    if (at_end) return false;
    switch (reader->next(key, value)) {
    case RecordReader::Result::record: return true;
    case RecordReader::Result::end:
        at_end = true;
        reader->close();
        return false;
    case RecordReader::Result::malformed: break;
    }
    malformed = true;
    raise_format_error();
}

std::string_view Mapfile::find(std::string_view key) {
    require(mode == read || mode == update, texts.not_for_reading);
    const std::string_view* cached = cache.find(key);
    return cached ? *cached : scan_for(key);
}

std::string Mapfile::get(std::string_view key) { return std::string(find(key)); }

std::uint64_t Mapfile::file_size() const { return reader ? reader->file_size() : 0; }

std::int32_t Mapfile::get_int(std::string_view key) { return leading_int(find(key)); }

double Mapfile::get_double(std::string_view key) { return std::strtod(get(key).c_str(), nullptr); }

std::int32_t Mapfile::get_buffer(std::string_view key, char* buffer, std::uint32_t size) {
    std::string_view value = find(key);
    if (buffer && !value.empty() && value.size() <= size) std::memcpy(buffer, value.data(), value.size());
    return static_cast<std::int32_t>(value.size());
}

void Mapfile::put(std::string_view key, std::string_view value) {
    require(mode == write || mode == update, texts.not_for_writing);
    // A record the reader could not find again would make the whole file unreadable.
    CHECK_CALL(readable_key(key));
    CHECK_CALL(value.size() <= static_cast<std::size_t>(std::numeric_limits<std::int32_t>::max()));
    if (mode == write)
        writer->write_record(key, value);
    else
        cache.assign(put_texts.emplace_back(key), put_texts.emplace_back(value));
}

void Mapfile::put_int(std::string_view key, std::int32_t value) {
    char text[16];
    put(key, std::string_view(text, static_cast<std::size_t>(std::to_chars(text, text + sizeof text, value).ptr - text)));
}

void Mapfile::put_double(std::string_view key, double value) {
    // Sized by the number itself: large magnitudes print more than 19 characters.
    int length = std::snprintf(nullptr, 0, "%19f", value);
    std::string text(static_cast<std::size_t>(length), '\0');
    std::snprintf(text.data(), text.size() + 1, "%19f", value);
    put(key, text);
}

void Mapfile::put_buffer(std::string_view key, const char* data, std::int32_t length) {
    CHECK_CALL(length >= 0 && (data || length == 0));
    put(key, std::string_view(data, static_cast<std::size_t>(length)));
}

void Mapfile::remove(std::string_view key) {
    require(mode == update, texts.not_for_updating);
    cache.erase(key);
}

void Mapfile::commit() {
    require(mode == update, texts.not_for_updating);
    RecordWriter rewriter(file_name, mode);
    for (const auto& [key, value] : cache.sorted()) rewriter.write_record(key, value);
    rewriter.finish();
}

void Mapfile::close() {
    if (closed) return;
    closed = true;
    if (reader) reader->close();
    if (writer) {
        std::unique_ptr<RecordWriter> finishing = std::move(writer);
        finishing->finish();
    }
}
