#include "support/util_text.h"

namespace {

bool is_white(char c) { return c == ' ' || c == '\t' || c == '\n' || c == '\v' || c == '\f' || c == '\r'; }

// Index of the last separator above index 0, or npos.
std::size_t last_separator(const std::string& path) {
    std::size_t at = path.find_last_of("\\/:");
    return at == 0 ? std::string::npos : at;
}

}  // namespace

void split_command_line(const std::string& text, std::vector<std::string>& arguments) {
    enum class State { between, plain, quoted } state = State::between;
    std::size_t start = 0;
    for (std::size_t i = 0; i < text.size(); ++i) {
        char c = text[i];
        switch (state) {
        case State::between:
            if (c == '"') {
                state = State::quoted;
                start = i + 1;
            } else if (!is_white(c)) {
                state = State::plain;
                start = i;
            }
            break;
        case State::plain:
            if (is_white(c)) {
                arguments.push_back(text.substr(start, i - start));
                state = State::between;
            }
            break;
        case State::quoted:
            if (c == '"') {
                arguments.push_back(text.substr(start, i - start));
                state = State::between;
            }
            break;
        }
    }
    if (state == State::plain) arguments.push_back(text.substr(start));
}

std::string directory_of(const std::string& path) {
    std::size_t at = last_separator(path);
    return at == std::string::npos ? path : path.substr(0, at + 1);
}

std::string file_name_of(const std::string& path) {
    std::size_t at = last_separator(path);
    return at == std::string::npos ? path : path.substr(at + 1);
}

std::string default_extension(const std::vector<std::string>& filters) {
    if (filters.size() < 2 || filters[1].rfind("*.", 0) != 0) return {};
    const std::string extension = filters[1].substr(2);
    if (extension.find_first_of("*?;. ") != std::string::npos) return {};
    return extension;
}
