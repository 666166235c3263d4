// Pad text (Windows-1252) and UTF-8, both ways.
#include "support/messages.h"
#include "tools/pad_text_encoding.h"

#include <gtest/gtest.h>

TEST(PadTextEncoding, ConvertsEveryPadByteAndBack) {
    const auto utf8_from_pad_text = [](const std::string& text) {
        std::string utf8;
        append_utf8_from_pad_text(utf8, text);
        return utf8;
    };
    const std::pair<std::string, std::string> pairs[] = {
        {"\x80 \x85 \x8A \x99 \x9F \xA0", "\xE2\x82\xAC \xE2\x80\xA6 \xC5\xA0 \xE2\x84\xA2 \xC5\xB8 \xC2\xA0"},
        {"\x81\x8D\x8F\x90\x9D", "\xC2\x81\xC2\x8D\xC2\x8F\xC2\x90\xC2\x9D"},  // unassigned: the controls of their number
    };
    for (const auto& [pad, utf8] : pairs) {
        EXPECT_EQ(utf8_from_pad_text(pad), utf8);
        EXPECT_EQ(pad_text_from_utf8(utf8), pad);
    }
    std::string every_byte;
    for (int byte = 0; byte < 256; ++byte) every_byte += static_cast<char>(byte);
    EXPECT_EQ(pad_text_from_utf8(utf8_from_pad_text(every_byte)), every_byte);
}

TEST(PadTextEncoding, RefusesWhatAPadCannotHold) {
    const std::string long_text = std::string(56, 'a') + "\xC3\xBC" "bcdef\xC5\x91";
    const std::pair<std::string, std::string> refused[] = {
        {"\xF0\x9F\x98\x80", "\"\xF0\x9F\x98\x80\" holds the character U+1F600, which Windows-1252 cannot hold."},
        {"\xC2\x80", "\"\xC2\x80\" holds the character U+0080, which Windows-1252 cannot hold."},
        {long_text, "\"" + std::string(56, 'a') + "...\" holds the character U+0151, which Windows-1252 cannot hold."},
        {"Z\xFCrich", "\"Z\xFCrich\" is not UTF-8, the encoding of this terminal: the byte 0xFC does not fit."},
        {"\xC0\xAF", "\"\xC0\xAF\" is not UTF-8, the encoding of this terminal: the byte 0xC0 does not fit."},
        {"\xED\xA0\x80", "\"\xED\xA0\x80\" is not UTF-8, the encoding of this terminal: the byte 0xED does not fit."},
        {"end\xE2\x82", "\"end\xE2\x82\" is not UTF-8, the encoding of this terminal: the byte 0xE2 does not fit."},
    };
    for (const auto& [utf8, message] : refused) {
        try {
            pad_text_from_utf8(utf8);
            ADD_FAILURE() << "accepted " << utf8;
        } catch (const msg_exception& error) {
            EXPECT_EQ(error.text, message);
        }
    }
}
