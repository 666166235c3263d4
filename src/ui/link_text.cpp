#include "ui/link_text.h"

#include <algorithm>

namespace {

bool is_space(char c) { return c == ' ' || c == '\t' || c == '\n' || c == '\v' || c == '\f' || c == '\r'; }

int hex_value(char c) {
    if (c >= '0' && c <= '9') return c - '0';
    if (c >= 'a' && c <= 'f') return c - 'a' + 10;
    if (c >= 'A' && c <= 'F') return c - 'A' + 10;
    return -1;
}

// %xx (two hexadecimal digits) decoded to its byte; "+" to a blank when asked.
std::string decode_codes(const std::string& text, std::size_t from, bool plus_is_blank) {
    std::string decoded;
    decoded.reserve(text.size() - from);
    for (std::size_t i = from; i < text.size(); ++i) {
        const int high = i + 2 < text.size() ? hex_value(text[i + 1]) : -1;
        const int low = i + 2 < text.size() ? hex_value(text[i + 2]) : -1;
        if (text[i] == '%' && high >= 0 && low >= 0) {
            decoded += static_cast<char>(high * 16 + low);
            i += 2;
        } else {
            decoded += plus_is_blank && text[i] == '+' ? ' ' : text[i];
        }
    }
    return decoded;
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
    return decode_codes(word, start, true);
}

namespace {

bool is_letter(char c) { return (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z'); }

char lower(char c) { return c >= 'A' && c <= 'Z' ? static_cast<char>(c - 'A' + 'a') : c; }

// The scheme of "letters:..." with two or more letters, lower-cased; empty for anything else.
std::string scheme_of(const std::string& link) {
    std::size_t end = 0;
    while (end < link.size() && is_letter(link[end])) ++end;
    if (end < 2 || end >= link.size() || link[end] != ':') return {};
    std::string scheme;
    for (std::size_t i = 0; i < end; ++i) scheme += lower(link[i]);
    return scheme;
}

bool is_path(const std::string& link) {
    const bool drive = link.size() >= 3 && is_letter(link[0]) && link[1] == ':' && (link[2] == '\\' || link[2] == '/');
    return drive || link.find('\\') != std::string::npos;
}

// Whether the file a path names would run code when the shell opens it. The system drops trailing
// dots and blanks of a name and reads a stream name after a colon, and a sentence may end right
// after a link, so these are not part of the extension judged.
bool runs_code(const std::string& path) {
    static const char* const program_extensions[] = {
        "exe", "com", "bat", "cmd", "scr", "pif", "msi", "msp", "lnk", "ps1", "vbs", "vbe",
        "js",  "jse", "wsf", "wsh", "hta", "cpl", "jar", "msc",
    };
    const std::size_t separator = path.find_last_of("\\/");
    std::string name = path.substr(separator == std::string::npos ? 0 : separator + 1);
    name.erase(std::min(name.find(':'), name.size()));
    while (!name.empty() && std::string(" .,;!?)]}'\"").find(name.back()) != std::string::npos) name.pop_back();
    const std::size_t dot = name.rfind('.');
    if (dot == std::string::npos) return false;
    std::string extension;
    for (std::size_t i = dot + 1; i < name.size(); ++i) extension += lower(name[i]);
    for (const char* program : program_extensions)
        if (extension == program) return true;
    return false;
}

// The scheme the shell puts before a web address written without one ("www.", "ftp."); null for
// anything else.
const char* guessed_scheme(const std::string& link) {
    std::string start;
    for (std::size_t i = 0; i < link.size() && i < 4; ++i) start += lower(link[i]);
    if (start == "www.") return "http://";
    if (start == "ftp.") return "ftp://";
    return nullptr;
}

}  // namespace

std::string shell_target(const std::string& link) {
    const char* scheme = guessed_scheme(link);
    return scheme ? scheme + link : link;
}

LinkAction classify_link(const std::string& decoded) {
    // The system reads the link up to its first zero byte only.
    const std::string link = decoded.substr(0, decoded.find('\0'));
    if (link.find('@') != std::string::npos && link.find(':') == std::string::npos) return LinkAction::mail;
    const std::string scheme = scheme_of(link);
    if (scheme == "file") {
        // The shell decodes %xx once more when it makes a path of the URL.
        std::string path = decode_codes(link, 5, false);
        path.erase(std::min(path.find_first_of("?#"), path.size()));
        return runs_code(path) ? LinkAction::ask_first : LinkAction::open;
    }
    if (!scheme.empty() || guessed_scheme(link)) return LinkAction::open;
    if (is_path(link)) return runs_code(link) ? LinkAction::ask_first : LinkAction::open;
    return LinkAction::search;
}
