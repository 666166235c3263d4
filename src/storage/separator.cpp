#include "storage/separator.h"

const std::string default_separator = "\n\n------------------------------\n\n";

std::size_t separator_match(std::string_view separator, std::string_view text) {
    std::size_t i = 0, j = 0;
    const std::size_t m = separator.size(), n = text.size();
    while (i < m) {
        if (j >= n) return 0;
        const char s = separator[i], t = text[j];
        if (s == '\n' && t == '\r') {
            j += (j + 1 < n && text[j + 1] == '\n') ? 2 : 1;
            i += 1;
        } else if (s == '\r' && t == '\n') {
            i += (i + 1 < m && separator[i + 1] == '\n') ? 2 : 1;
            j += 1;
        } else if (s == t) {
            ++i;
            ++j;
        } else {
            return 0;
        }
    }
    return j;
}

std::string encode_separator(std::string_view separator) {
    std::string typed;
    for (char c : separator) {
        switch (c) {
        case '\t': typed += "\\t"; break;
        case '\n': typed += "\\n"; break;
        case '\r': break;
        case '\\': typed += "\\\\"; break;
        default: typed += c;
        }
    }
    return typed;
}

std::string decode_separator(std::string_view typed) {
    std::string separator;
    bool escaped = false;
    for (char c : typed) {
        if (c == '\r') continue;
        if (c == '\\') {
            if (escaped) separator += '\\';
            escaped = !escaped;
        } else if (escaped && c == 'n') {
            separator += '\n';
            escaped = false;
        } else if (escaped && c == 't') {
            separator += '\t';
            escaped = false;
        } else {
            separator += c;
            escaped = false;
        }
    }
    return separator;
}
