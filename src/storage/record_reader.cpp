#include "storage/record_reader.h"

#include <algorithm>
#include <cstring>
#include <limits>

namespace {

constexpr std::size_t block_size = 256 * 1024;
constexpr std::size_t max_key_length = 200;
// Room for a record head at the end of a block: a key, blanks and its length.
constexpr std::size_t head_room = 4096;

// White space as the C library's scanners see it.
bool is_white(int c) { return c == ' ' || c == '\t' || c == '\n' || c == '\v' || c == '\f' || c == '\r'; }

int digit_value(int c, int base) {
    int value = 99;
    if (c >= '0' && c <= '9') value = c - '0';
    else if (c >= 'a' && c <= 'f') value = c - 'a' + 10;
    else if (c >= 'A' && c <= 'F') value = c - 'A' + 10;
    return value < base ? value : -1;
}

}  // namespace

RecordReader::RecordReader(std::FILE* file_) : file(file_) {
    // Our own blocks are the only buffer: the stream's would copy every byte once more.
    std::setvbuf(file, nullptr, _IONBF, 0);
    if (std::fseek(file, 0, SEEK_END) == 0) {
        const long at_end = std::ftell(file);
        if (at_end > 0) size = static_cast<std::uint64_t>(at_end);
    }
    std::rewind(file);
}

RecordReader::~RecordReader() { close(); }

void RecordReader::close() {
    if (file) std::fclose(file);
    file = nullptr;
}

bool RecordReader::fill() {
    if (!file) return false;
    // A block that holds nothing yet is used again, and so is one whose records were not kept.
    const bool reusable = end == 0 || (between_records && !block_kept);
    if (!block || !reusable) {
        blocks.emplace_back(new char[block_size]);
        block = blocks.back().get();
        block_kept = false;
    }
    pos = 0;
    end = std::fread(block, 1, block_size, file);
    return end > 0;
}

void RecordReader::top_up() {
    if (!file || block_kept || pos == 0 || end - pos >= head_room) return;
    std::memmove(block, block + pos, end - pos);
    end -= pos;
    pos = 0;
    end += std::fread(block + end, 1, block_size - end, file);
}

void RecordReader::skip_white() {
    for (;;) {
        while (pos < end && is_white(static_cast<unsigned char>(block[pos]))) ++pos;
        if (pos < end || !fill()) return;
    }
}

bool RecordReader::read_key(std::string_view& key) {
    // At most 200 characters belong to the key; a longer run leaves its rest where "(" must stand.
    std::size_t start = pos;
    std::size_t limit = std::min(end, pos + max_key_length);
    while (pos < limit && !is_white(static_cast<unsigned char>(block[pos]))) ++pos;
    key = std::string_view(block + start, pos - start);
    if (pos < end || key.size() == max_key_length) return !key.empty();
    // The key runs on into the next block.
    std::string& spill = spills.emplace_back(key);
    while (fill()) {
        start = pos;
        limit = std::min(end, pos + (max_key_length - spill.size()));
        while (pos < limit && !is_white(static_cast<unsigned char>(block[pos]))) ++pos;
        spill.append(block + start, pos - start);
        if (pos < end || spill.size() == max_key_length) break;
    }
    key = spill;
    return !key.empty();
}

bool RecordReader::read_length(std::int64_t& length) {
    // The "%i" notation: a sign, then 0x for hexadecimal, a leading 0 for octal, else decimal.
    skip_white();
    bool negative = false;
    if (peek() == '+' || peek() == '-') {
        negative = peek() == '-';
        ++pos;
    }
    int base = 10;
    bool have_digit = false;
    if (peek() == '0') {
        ++pos;
        base = 8;
        have_digit = true;
        if (peek() == 'x' || peek() == 'X') {
            ++pos;
            base = 16;
            have_digit = false;
        }
    }
    std::int64_t value = 0;
    for (int digit; (digit = digit_value(peek(), base)) >= 0; ++pos) {
        value = value * base + digit;
        if (value > std::numeric_limits<std::int32_t>::max()) return false;
        have_digit = true;
    }
    length = negative ? -value : value;
    return have_digit;
}

bool RecordReader::read_value(std::size_t length, std::string_view& value) {
    if (length <= end - pos) {
        value = std::string_view(block + pos, length);
        pos += length;
        return true;
    }
    std::string& spill = spills.emplace_back(block + pos, end - pos);
    pos = end;
    // The rest comes straight from the file, growing the value no faster than the bytes arrive,
    // so a recorded length far beyond the end of the file never becomes one huge allocation.
    while (spill.size() < length) {
        std::size_t old_size = spill.size();
        std::size_t chunk = std::min(length - old_size, std::max(old_size, block_size));
        spill.resize(old_size + chunk);
        if (!file || std::fread(spill.data() + old_size, 1, chunk, file) < chunk) return false;
    }
    value = spill;
    return true;
}

RecordReader::Result RecordReader::cut_off() {
    return peek() < 0 && !(file && std::ferror(file)) ? Result::end : Result::malformed;
}

RecordReader::Result RecordReader::next(std::string_view& key, std::string_view& value) {
    between_records = true;
    skip_white();
    top_up();
    between_records = false;
    if (peek() < 0) return file && std::ferror(file) ? Result::malformed : Result::end;
    if (!read_key(key)) return Result::malformed;
    // A head that the end of the file cuts off before its length is no record, and nothing follows
    // it: the file ends there, as a file cut after its last whole record or ending in a stray word.
    skip_white();
    if (peek() != '(') return cut_off();
    ++pos;
    std::int64_t length = 0;
    if (!read_length(length)) return cut_off();
    if (length < 0) return Result::malformed;
    if (peek() != ')') return Result::malformed;
    ++pos;
    if (peek() != ':') return Result::malformed;
    ++pos;
    // One byte stands between the head and the value; a CR LF pair counts as one.
    int skipped = peek();
    if (skipped >= 0) {
        ++pos;
        if (skipped == '\r' && peek() == '\n') ++pos;
    }
    if (!read_value(static_cast<std::size_t>(length), value)) return Result::malformed;
    return Result::record;
}
