#include "tools/nib_listing.h"

#include "tools/pad_text_encoding.h"

#include <cstdio>
#include <ostream>

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

namespace {

// A JSON string: quotes, backslashes and control characters escaped, other bytes as they come.
std::string json_string(std::string_view text) {
    std::string out = "\"";
    for (char c : text) {
        switch (c) {
        case '"': out += "\\\""; break;
        case '\\': out += "\\\\"; break;
        case '\n': out += "\\n"; break;
        case '\r': out += "\\r"; break;
        case '\t': out += "\\t"; break;
        default:
            if (static_cast<unsigned char>(c) < 0x20) {
                char escape[8];
                std::snprintf(escape, sizeof escape, "\\u%04x", static_cast<unsigned>(c));
                out += escape;
            } else {
                out += c;
            }
        }
    }
    return out + '"';
}

}  // namespace

void NibListing::write(std::size_t position, std::string_view id_text, std::int32_t seconds, std::string_view text) {
    if (format == ListingFormat::lines) {
        out << position << '\t' << id_text << '\t' << utc_time_text(seconds) << '\t'
            << terminal.shown(text.substr(0, text.find_first_of("\r\n"))) << '\n';
        return;
    }
    out << (any ? ",\n" : "[\n") << "{\"position\":" << position << ",\"id\":" << json_string(id_text)
        << ",\"time\":\"" << utc_time_text(seconds) << "\",\"text\":"
        << json_string(terminal.json_utf8 ? utf8_from_pad_text(text) : std::string(text)) << '}';
    any = true;
}

void NibListing::finish() {
    if (format == ListingFormat::json) out << (any ? "\n]\n" : "[]\n");
}
