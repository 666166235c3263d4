#include "tools/terminal.h"

#include "tools/pad_text_encoding.h"

std::string Terminal::pad_text(std::string_view typed) const {
    return utf8 ? pad_text_from_utf8(typed) : std::string(typed);
}
