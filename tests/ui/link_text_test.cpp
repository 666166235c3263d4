#include "ui/link_text.h"

#include <gtest/gtest.h>

TEST(LinkText, DecodingTrimsWhiteSpaceAndDecodesCodesAndPluses) {
    const char* const cases[][2] = {
        {"C:\\My+Notes\\a%2bb.txt", "C:\\My Notes\\a+b.txt"},
        {" \t\r\nword,\v\f ", "word,"},           // only white space is trimmed
        {"%41%4a%4A", "AJJ"},                     // either case
        {"100%", "100%"}, {"x%4", "x%4"},         // too short to be a code
        {"%zz%4g", "%zz%4g"},                     // not hexadecimal
        {"%41", "A"}, {"%", "%"}, {"", ""}, {" ", ""},
        {"http://a.b/c%20d+e", "http://a.b/c d e"},
        {"%2525", "%25"},                         // decoded once only
    };
    for (const auto& c : cases) EXPECT_EQ(decode_link(c[0]), c[1]) << c[0];
    EXPECT_EQ(decode_link("%00x"), std::string("\0x", 2));
}

TEST(LinkText, FileLinksHoldNoBlankAndDecodeToTheirPath) {
    EXPECT_EQ(encode_file_link("C:\\My Notes\\x+y%.txt"), "C:\\My+Notes\\x%2by%25.txt");
    for (const char* path : {"C:\\My Notes\\x+y%.txt", "\\\\host\\share\\a b\\%41+.nib", "plain", "% %2b +"}) {
        const std::string link = encode_file_link(path);
        EXPECT_EQ(link.find(' '), std::string::npos) << path;
        EXPECT_EQ(decode_link(link), path);
    }
}
