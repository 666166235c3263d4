#include "tools/nib_listing.h"

#include <charconv>
#include <cstring>

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

void append_nib_line(std::string& out, const ListedNib& nib) {
    char position[24];
    out.append(position, std::to_chars(position, position + sizeof position, nib.position).ptr);
    out += '\t';
    out += nib.id;
    out += '\t';
    append_utc_time(out, nib.seconds);
    out += '\t';
    // The first line of the text the nib holds, which a zero byte cuts off.
    std::size_t end = nib.text.size();
    for (char stop : {'\r', '\n', '\0'})
        if (const void* at = end == 0 ? nullptr : std::memchr(nib.text.data(), stop, end))
            end = static_cast<std::size_t>(static_cast<const char*>(at) - nib.text.data());
    out.append(nib.text.data(), end);
    out += '\n';
}
