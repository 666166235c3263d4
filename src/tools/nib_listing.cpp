#include "tools/nib_listing.h"

#include "model/nib.h"
#include "tools/byte_forms.h"
#include "tools/pad_text_encoding.h"

#include <charconv>
#include <cstring>
#include <ostream>

namespace {

// A listing prints a time per nib: digits by hand, as formatting functions cost more than the
// rest of the line.
void append_digits(std::string& out, std::int64_t value, int width) {
    char digits[4];
    for (int i = width - 1; i >= 0; --i, value /= 10) digits[i] = static_cast<char>('0' + value % 10);
    out.append(digits, static_cast<std::size_t>(width));
}

}  // namespace

void append_utc_time(std::string& out, std::int32_t seconds) {
    // Days to a civil date in the proleptic Gregorian calendar, counted in 400-year eras.
    std::int64_t total = seconds;
    std::int64_t days = total / 86400, rest = total % 86400;
    if (rest < 0) {
        rest += 86400;
        --days;
    }
    days += 719468;
    const std::int64_t era = (days >= 0 ? days : days - 146096) / 146097;
    const std::int64_t day_of_era = days - era * 146097;
    const std::int64_t year_of_era = (day_of_era - day_of_era / 1460 + day_of_era / 36524 - day_of_era / 146096) / 365;
    const std::int64_t day_of_year = day_of_era - (365 * year_of_era + year_of_era / 4 - year_of_era / 100);
    const std::int64_t shifted_month = (5 * day_of_year + 2) / 153;
    const std::int64_t day = day_of_year - (153 * shifted_month + 2) / 5 + 1;
    const std::int64_t month = shifted_month < 10 ? shifted_month + 3 : shifted_month - 9;
    const std::int64_t year = year_of_era + era * 400 + (month <= 2 ? 1 : 0);  // 1901 to 2038 for 32-bit seconds

    append_digits(out, year, 4);
    out += '-';
    append_digits(out, month, 2);
    out += '-';
    append_digits(out, day, 2);
    out += ' ';
    append_digits(out, rest / 3600, 2);
    out += ':';
    append_digits(out, rest / 60 % 60, 2);
    out += ':';
    append_digits(out, rest % 60, 2);
}

namespace {

void append_position(std::string& out, std::size_t position) {
    char digits[24];
    out.append(digits, std::to_chars(digits, digits + sizeof digits, position).ptr);
}

ByteForms<6> json_forms(bool utf8) {
    ByteForms<6> forms;
    for (int byte = 0; byte < 0x20; ++byte) {
        const char escape[] = {'\\', 'u', '0', '0', "0123456789abcdef"[byte >> 4], "0123456789abcdef"[byte & 15]};
        forms.set(static_cast<char>(byte), {escape, sizeof escape});
    }
    for (const auto& [byte, escape] : {std::pair{'"', "\\\""}, {'\\', "\\\\"}, {'\n', "\\n"}, {'\r', "\\r"}, {'\t', "\\t"}})
        forms.set(byte, escape);
    for (int byte = 0x80; utf8 && byte < 0x100; ++byte) {
        const char pad_byte = static_cast<char>(byte);
        std::string form;
        append_utf8_from_pad_text(form, {&pad_byte, 1});
        forms.set(pad_byte, form);
    }
    return forms;
}

// A JSON string: quotes, backslashes and control characters escaped, pad text in UTF-8 when asked.
void append_json_string(std::string& out, std::string_view text, bool utf8) {
    static const ByteForms<6> utf8_forms = json_forms(true), byte_forms = json_forms(false);
    out += '"';
    (utf8 ? utf8_forms : byte_forms).append(out, text);
    out += '"';
}

}  // namespace

void NibListing::operator()(const ListedNib& nib) {
    if (format == ListingFormat::lines)
        append_line(nib);
    else
        append_object(nib);
    if (lines.size() >= 1 << 16) flush();
}

void NibListing::finish() {
    if (format == ListingFormat::json) lines += any ? "\n]\n" : "[]\n";
    flush();
}

void NibListing::append_line(const ListedNib& nib) {
    append_position(lines, nib.position);
    lines += '\t';
    lines += nib.id;
    lines += '\t';
    append_utc_time(lines, nib.seconds);
    lines += '\t';
    // The first line of the text the nib holds, which a zero byte cuts off.
    std::size_t end = nib.text.size();
    for (char stop : {'\r', '\n', '\0'})
        if (const void* at = end == 0 ? nullptr : std::memchr(nib.text.data(), stop, end))
            end = static_cast<std::size_t>(static_cast<const char*>(at) - nib.text.data());
    if (terminal.utf8)
        append_utf8_from_pad_text(lines, nib.text.substr(0, end));
    else
        lines.append(nib.text.data(), end);
    lines += '\n';
}

void NibListing::append_object(const ListedNib& nib) {
    lines += any ? ",\n{\"position\":" : "[\n{\"position\":";
    any = true;
    append_position(lines, nib.position);
    lines += ",\"id\":\"";
    lines += nib.id;
    lines += "\",\"time\":\"";
    append_utc_time(lines, nib.seconds);
    lines += "\",\"text\":";
    store_nib_text(text, nib.text);
    append_json_string(lines, text, terminal.json_utf8);
    lines += '}';
}

void NibListing::flush() {
    out.write(lines.data(), static_cast<std::streamsize>(lines.size()));
    lines.clear();
}
