#include "support/util_text.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace {
std::vector<std::string> split(const std::string& text) {
    std::vector<std::string> arguments;
    split_command_line(text, arguments);
    return arguments;
}
using Args = std::vector<std::string>;
}  // namespace

TEST(SplitCommandLine, PlainAndQuotedArguments) {
    EXPECT_EQ(split("a.exe  \"x y\" z"), (Args{"a.exe", "x y", "z"}));
    EXPECT_EQ(split("\"C:\\Program Files\\Scrivel\\scrivel.exe\" \"%1\""),
              (Args{"C:\\Program Files\\Scrivel\\scrivel.exe", "%1"}));
    EXPECT_EQ(split(" \t\r\n\v\f one\ttwo\r\nthree "), (Args{"one", "two", "three"}));
    EXPECT_EQ(split(""), Args{});
    EXPECT_EQ(split("   "), Args{});
}

TEST(SplitCommandLine, QuotesHaveNoEscapes) {
    // A quote inside a plain argument is ordinary; an empty pair of quotes is an empty argument.
    EXPECT_EQ(split("ab\"c d"), (Args{"ab\"c", "d"}));
    EXPECT_EQ(split("\"\" x"), (Args{"", "x"}));
    // A doubled quote ends one argument and starts the next; a backslash escapes nothing.
    EXPECT_EQ(split("\"a\"\"b\""), (Args{"a", "b"}));
    EXPECT_EQ(split("\"a\\\" b\""), (Args{"a\\", "b\""}));
    EXPECT_EQ(split("\"a\"b"), (Args{"a", "b"}));
}

TEST(SplitCommandLine, UnclosedQuoteIsDropped) {
    EXPECT_EQ(split("a \"b c"), Args{"a"});
    EXPECT_EQ(split("\""), Args{});
}

TEST(SplitCommandLine, AppendsToWhatIsThere) {
    Args arguments{"first"};
    split_command_line("second", arguments);
    EXPECT_EQ(arguments, (Args{"first", "second"}));
}

TEST(PathParts, DirectoryAndNameAtTheLastSeparator) {
    EXPECT_EQ(directory_of("C:\\pads\\work\\a.nib"), "C:\\pads\\work\\");
    EXPECT_EQ(file_name_of("C:\\pads\\work\\a.nib"), "a.nib");
    EXPECT_EQ(directory_of("pads/a.nib"), "pads/");
    EXPECT_EQ(file_name_of("C:a.nib"), "a.nib");
    EXPECT_EQ(directory_of("C:a.nib"), "C:");
    EXPECT_EQ(directory_of("C:\\pads\\"), "C:\\pads\\");
    EXPECT_EQ(file_name_of("C:\\pads\\"), "");
}

TEST(PathParts, NoSeparatorOrOnlyOneAtTheStartGivesTheWholePath) {
    EXPECT_EQ(directory_of("a.nib"), "a.nib");
    EXPECT_EQ(file_name_of("a.nib"), "a.nib");
    EXPECT_EQ(directory_of("\\a.nib"), "\\a.nib");
    EXPECT_EQ(file_name_of("/a.nib"), "/a.nib");
    EXPECT_EQ(directory_of(""), "");
    EXPECT_EQ(file_name_of(""), "");
}
