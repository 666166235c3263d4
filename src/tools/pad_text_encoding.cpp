#include "tools/pad_text_encoding.h"

#include "support/messages.h"
#include "support/texts.h"
#include "tools/byte_forms.h"

#include <array>
#include <cstdint>
#include <cstdio>

namespace {

// The characters of 0x80 to 0x9F; 0xA0 to 0xFF are the Latin-1 characters of the same number.
constexpr std::array<char32_t, 32> high_block = {
    0x20AC, 0x0081, 0x201A, 0x0192, 0x201E, 0x2026, 0x2020, 0x2021, 0x02C6, 0x2030, 0x0160,
    0x2039, 0x0152, 0x008D, 0x017D, 0x008F, 0x0090, 0x2018, 0x2019, 0x201C, 0x201D, 0x2022,
    0x2013, 0x2014, 0x02DC, 0x2122, 0x0161, 0x203A, 0x0153, 0x009D, 0x017E, 0x0178,
};

char32_t character_of(unsigned char byte) {
    return byte >= 0x80 && byte < 0xA0 ? high_block[byte - 0x80] : byte;
}

// The pad byte of a character; -1 when 1252 has none.
int byte_of(char32_t character) {
    if (character < 0x80 || (character >= 0xA0 && character <= 0xFF)) return static_cast<int>(character);
    for (std::size_t i = 0; i < high_block.size(); ++i)
        if (high_block[i] == character) return static_cast<int>(0x80 + i);
    return -1;
}

void append_utf8(std::string& out, char32_t c) {
    if (c < 0x80) {
        out += static_cast<char>(c);
    } else if (c < 0x800) {
        out += static_cast<char>(0xC0 | (c >> 6));
        out += static_cast<char>(0x80 | (c & 0x3F));
    } else {
        out += static_cast<char>(0xE0 | (c >> 12));
        out += static_cast<char>(0x80 | ((c >> 6) & 0x3F));
        out += static_cast<char>(0x80 | (c & 0x3F));
    }
}

// The character that starts at `pos`, and its length in bytes; length 0 when the bytes there are
// no UTF-8 (cut short, overlong, a surrogate or beyond U+10FFFF).
std::pair<char32_t, std::size_t> decode_utf8(std::string_view text, std::size_t pos) {
    const unsigned char lead = static_cast<unsigned char>(text[pos]);
    if (lead < 0x80) return {lead, 1};
    const std::size_t length = lead >= 0xF0 ? 4 : lead >= 0xE0 ? 3 : lead >= 0xC0 ? 2 : 0;
    if (length == 0 || lead > 0xF4 || pos + length > text.size()) return {0, 0};
    char32_t c = lead & (0x7F >> length);
    for (std::size_t i = 1; i < length; ++i) {
        const unsigned char next = static_cast<unsigned char>(text[pos + i]);
        if ((next & 0xC0) != 0x80) return {0, 0};
        c = (c << 6) | (next & 0x3F);
    }
    constexpr char32_t smallest[] = {0, 0, 0x80, 0x800, 0x10000};
    if (c < smallest[length] || c > 0x10FFFF || (c >= 0xD800 && c <= 0xDFFF)) return {0, 0};
    return {c, length};
}

std::string hexadecimal(const char* format, unsigned value) {
    char text[16];
    std::snprintf(text, sizeof text, format, value);
    return text;
}

}  // namespace

void append_utf8_from_pad_text(std::string& out, std::string_view text) {
    // Listings convert every line they print.
    static const ByteForms<3> forms = [] {
        ByteForms<3> utf8;
        for (int byte = 0x80; byte < 0x100; ++byte) {
            std::string form;
            append_utf8(form, character_of(static_cast<unsigned char>(byte)));
            utf8.set(static_cast<char>(byte), form);
        }
        return utf8;
    }();
    forms.append(out, text);
}

std::string pad_text_from_utf8(std::string_view text) {
    std::string out;
    out.reserve(text.size());
    for (std::size_t pos = 0; pos < text.size();) {
        const auto [character, length] = decode_utf8(text, pos);
        if (length == 0)
            throw msg_exception(fill_message(texts.tool_not_utf8, quoted_excerpt(text),
                                             hexadecimal("0x%02X", static_cast<unsigned char>(text[pos]))),
                                texts.error, style_warning);
        const int byte = byte_of(character);
        if (byte < 0)
            throw msg_exception(fill_message(texts.tool_unstorable_character, quoted_excerpt(text),
                                             hexadecimal("U+%04X", character), "Windows-1252"),
                                texts.error, style_warning);
        out += static_cast<char>(byte);
        pos += length;
    }
    return out;
}

std::string quoted_excerpt(std::string_view text) {
    constexpr std::size_t longest = 60;
    if (text.size() <= longest) return std::string(text);
    std::size_t cut = longest - 3;
    while (cut > 0 && (static_cast<unsigned char>(text[cut]) & 0xC0) == 0x80) --cut;
    return std::string(text.substr(0, cut)) + "...";
}
