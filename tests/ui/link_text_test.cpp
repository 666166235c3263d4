#include "ui/link_text.h"

#include <gtest/gtest.h>

TEST(LinkText, DecodingTrimsWhiteSpaceAndDecodesCodesAndPluses) {
    const char* const cases[][2] = {
        {"C:\\My+Notes\\a%2bb.txt", "C:\\My Notes\\a+b.txt"},
        {" \t\r\nword,\v\f ", "word,"},           // only white space is trimmed
        {"%4a%4F%4f%4A", "JOOJ"},                 // either case, both ends
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

TEST(LinkText, OnlyLinksGoToTheShellAndCodeIsOpenedOnlyAfterAQuestion) {
    using enum LinkAction;
    const struct {
        const char* link;
        LinkAction action;
    } cases[] = {
        {"http://example.org/a?b=c", open}, {"HTTPS://example.org/setup.exe", open}, {"ftp://host/f", open},
        {"mailto:ann@example.org", open}, {"news:comp.lang", open}, {"ann@example.org", mail},
        {"ann@example.org,", mail},
        // paths: drive, UNC, any backslash
        {"C:\\Notes\\plan.txt", open}, {"Z:/Notes/plan.doc", open}, {"z:/x/tool.exe", ask_first},
        // web addresses with the shell's default prefixes
        {"www.example.com", open}, {"FTP.example.org", open}, {"z:\\", open}, {"\\\\host\\share\\doc.pdf", open},
        {"..\\minutes.doc", open}, {"C:\\My Notes\\a+b.txt", open},
        // bare words, whatever they look like, are searched for
        {"notepad", search}, {"calc", search}, {"meeting", search}, {"meeting.", search},
        {"tool.exe", search}, {"C:tool.exe", search}, {"x:y", search}, {"wwwx.org", search},
        {"ms-msdt:/id", search}, {"", search},
        // programs and scripts, whatever the case, with sentence punctuation, streams or hidden ends
        {"\\\\host\\share\\tool.exe", ask_first}, {"C:\\a.EXE", ask_first}, {"C:\\a.exe.", ask_first},
        {"C:\\a.exe,", ask_first}, {"C:\\a.Bat.", ask_first}, {"C:\\run.ps1", ask_first},
        {"C:\\s.vbs", ask_first}, {"C:\\x.js", ask_first}, {"C:\\x.lnk", ask_first}, {"C:\\a.exe ", ask_first},
        {"C:\\a.exe::$DATA", ask_first}, {"d:\\setup.MSI)", ask_first}, {"C:\\dir.exe\\notes.txt", open},
        {"C:\\a.exe.txt", open}, {"C:\\archive.jar.zip", open},
        // file: URLs
        {"file:///C:/Notes/plan.txt", open}, {"file:///C:/tools/run.cmd", ask_first},
        {"FILE://host/share/tool.EXE?x#y", ask_first}, {"file:///C:/a%2eexe", ask_first},
        {"file:///C:/docs/", open},
    };
    for (const auto& c : cases) EXPECT_EQ(classify_link(c.link), c.action) << c.link;
    // The system reads a link up to its first zero byte.
    EXPECT_EQ(classify_link(decode_link("C:\\a.exe%00.txt")), ask_first);
    // The shell gets such addresses with the scheme it would give them; other links as they are.
    for (const auto& [link, target] : {std::pair{"www.a.org/x", "http://www.a.org/x"}, {"Ftp.b.org", "ftp://Ftp.b.org"},
                                       {"C:/a.doc", "C:/a.doc"}, {"http://www.c.org", "http://www.c.org"}})
        EXPECT_EQ(shell_target(link), target) << link;
}
