#include "model/nib.h"

#include <cstdint>
#include <cstring>

namespace {

bool has_lone_line_feed(std::string_view text) {
    for (std::size_t at = text.find('\n'); at != std::string_view::npos; at = text.find('\n', at + 1))
        if (at == 0 || text[at - 1] != '\r') return true;
    return false;
}

}  // namespace

Nib::Nib() = default;

Nib::Nib(std::string_view text) { set_text(text); }

Nib::Nib(std::string_view text, const std::string& id_text, const std::string& time_text)
    : SyncStamp(id_text, time_text), shared_(true), changed_(false) {
    set_text(text);
}

void store_nib_text(std::string& target, std::string_view text) {
    const void* zero = text.empty() ? nullptr : std::memchr(text.data(), 0, text.size());
    if (zero) text = text.substr(0, static_cast<std::size_t>(static_cast<const char*>(zero) - text.data()));
    if (has_lone_line_feed(text)) {
        std::string result;
        result.reserve(text.size() + text.size() / 16);
        std::size_t run = 0;
        for (std::size_t p = 0; p < text.size(); ++p) {
            if (text[p] == '\n' && (p == 0 || text[p - 1] != '\r')) {
                result.append(text, run, p - run);
                result += '\r';
                run = p;  // the line feed opens the next run
            }
        }
        result.append(text, run);
        target = std::move(result);
    } else {
        // Text from a pad file or typed in an edit control already has its line ends in pairs.
        target.assign(text);
    }
}

void Nib::set_text(std::string_view text) { store_nib_text(text_, text); }

std::int32_t Nib::match(const std::string& lower_query) { return match(lower_query, TextSearch(lower_query)); }

std::int32_t Nib::match(const std::string& lower_query, const TextSearch& search) {
    if (lower_query.empty()) {
        found_ = true;
        match_pos_ = -1;
        return 1;
    }
    std::size_t at = search.find_in(text_);
    found_ = at != std::string::npos;
    match_pos_ = found_ ? static_cast<std::int32_t>(at) : -1;
    return found_ ? 1 : 0;
}
