#include "support/util_text.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

using Args = std::vector<std::string>;

TEST(SplitCommandLine, PlainAndQuotedArgumentsWithoutEscapes) {
    const struct {
        const char* text;
        Args args;
    } cases[] = {
        {"a.exe  \"x y\" z", {"a.exe", "x y", "z"}},
        {" \t\r\n\v\f one\ttwo\r\nthree ", {"one", "two", "three"}},
        {"   ", {}},
        {"ab\"c d", {"ab\"c", "d"}},          // a quote inside a plain argument is ordinary
        {"\"a\"\"b\"", {"a", "b"}},           // a doubled quote splits
        {"\"a\\\" b\"", {"a\\", "b\""}},      // a backslash is a backslash
        {"\"\" x", {"", "x"}},                // empty quotes make an empty argument
        {"a \"b c", {"a"}},                   // a quoted argument never closed is dropped
    };
    for (const auto& c : cases) {
        Args args{"kept"};
        split_command_line(c.text, args);
        EXPECT_EQ(Args(args.begin() + 1, args.end()), c.args) << c.text;
        EXPECT_EQ(args[0], "kept");
    }
}

TEST(PathParts, SplitAtTheLastSeparatorAfterTheFirstCharacter) {
    const char* const cases[][3] = {
        {"C:\\pads\\work\\a.nib", "C:\\pads\\work\\", "a.nib"}, {"pads/a.nib", "pads/", "a.nib"},
        {"C:a.nib", "C:", "a.nib"}, {"a.nib", "a.nib", "a.nib"}, {"\\a.nib", "\\a.nib", "\\a.nib"},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(directory_of(c[0]), c[1]);
        EXPECT_EQ(file_name_of(c[0]), c[2]);
    }
}

TEST(DefaultExtension, IsThePlainExtensionOfTheFirstPatternOnly) {
    const struct {
        std::vector<std::string> filters;
        const char* extension;
    } cases[] = {
        {{"Text Files", "*.txt", "All Files", "*.*"}, "txt"}, {{"Two", "*.txt;*.text"}, ""},
        {{"Name", "a.txt"}, ""},                              {{"Only a name"}, ""},
    };
    for (const auto& c : cases) EXPECT_EQ(default_extension(c.filters), c.extension) << c.filters.size();
}
