#include "tools/nib_listing.h"

#include <cstdio>

std::string utc_time_text(std::int32_t seconds) {
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
    const std::int64_t year = year_of_era + era * 400 + (month <= 2 ? 1 : 0);

    char text[128];
    std::snprintf(text, sizeof text, "%04lld-%02lld-%02lld %02lld:%02lld:%02lld", static_cast<long long>(year),
                  static_cast<long long>(month), static_cast<long long>(day), static_cast<long long>(rest / 3600),
                  static_cast<long long>(rest / 60 % 60), static_cast<long long>(rest % 60));
    return text;
}

std::string nib_line(const ListedNib& nib) {
    // The first line of the text the nib holds, which a zero byte cuts off.
    std::size_t end = 0;
    while (end < nib.text.size() && nib.text[end] != '\r' && nib.text[end] != '\n' && nib.text[end] != '\0') ++end;
    const std::string_view first_line = nib.text.substr(0, end);
    std::string line = std::to_string(nib.position);
    line += '\t';
    line += nib.id;
    line += '\t';
    line += utc_time_text(nib.seconds);
    line += '\t';
    line += first_line;
    return line;
}
