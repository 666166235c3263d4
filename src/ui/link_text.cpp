#include "ui/link_text.h"

#include <cstdio>

namespace {

bool is_space(char c) { return c == ' ' || c == '\t' || c == '\n' || c == '\v' || c == '\f' || c == '\r'; }

int hex_value(char c) {
    if (c >= '0' && c <= '9') return c - '0';
    if (c >= 'a' && c <= 'f') return c - 'a' + 10;
    if (c >= 'A' && c <= 'F') return c - 'A' + 10;
    return -1;
}

}  // namespace

std::string encode_file_link(const std::string& path) {
    std::string link;
    link.reserve(path.size());
    for (char c : path) {
        if (c == ' ')
            link += '+';
        else if (c == '%')
            link += "%25";
        else if (c == '+')
            link += "%2b";
        else
            link += c;
    }
    return link;
}

std::string decode_link(std::string word) {
    while (!word.empty() && is_space(word.back())) word.pop_back();
    std::size_t start = 0;
    while (start < word.size() && is_space(word[start])) ++start;
    std::string link;
    link.reserve(word.size() - start);
    for (std::size_t i = start; i < word.size(); ++i) {
        const int high = i + 2 < word.size() ? hex_value(word[i + 1]) : -1;
        const int low = i + 2 < word.size() ? hex_value(word[i + 2]) : -1;
        if (word[i] == '%' && high >= 0 && low >= 0) {
            link += static_cast<char>(high * 16 + low);
            i += 2;
        } else {
            link += word[i] == '+' ? ' ' : word[i];
        }
    }
    return link;
}
