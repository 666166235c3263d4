#include "support/util_text.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace {
using Args = std::vector<std::string>;
Args split(const std::string& text) {
    Args arguments{"kept"};
    split_command_line(text, arguments);
    return {arguments.begin() + 1, arguments.end()};
}
}  // namespace

TEST(SplitCommandLine, PlainAndQuotedArguments) {
    EXPECT_EQ(split("a.exe  \"x y\" z"), (Args{"a.exe", "x y", "z"}));
    EXPECT_EQ(split(" \t\r\n\v\f one\ttwo\r\nthree "), (Args{"one", "two", "three"}));
    EXPECT_EQ(split("   "), Args{});
    // No escapes: a quote inside a plain argument is ordinary, a doubled quote splits, a
    // backslash is a backslash, and empty quotes make an empty argument.
    EXPECT_EQ(split("ab\"c d"), (Args{"ab\"c", "d"}));
    EXPECT_EQ(split("\"a\"\"b\""), (Args{"a", "b"}));
    EXPECT_EQ(split("\"a\\\" b\""), (Args{"a\\", "b\""}));
    EXPECT_EQ(split("\"\" x"), (Args{"", "x"}));
    // A quoted argument that is never closed is dropped.
    EXPECT_EQ(split("a \"b c"), Args{"a"});
}

TEST(PathParts, SplitAtTheLastSeparatorAfterTheFirstCharacter) {
    EXPECT_EQ(directory_of("C:\\pads\\work\\a.nib"), "C:\\pads\\work\\");
    EXPECT_EQ(file_name_of("C:\\pads\\work\\a.nib"), "a.nib");
    EXPECT_EQ(directory_of("pads/a.nib"), "pads/");
    EXPECT_EQ(directory_of("C:a.nib"), "C:");
    EXPECT_EQ(file_name_of("C:a.nib"), "a.nib");
    EXPECT_EQ(directory_of("a.nib"), "a.nib");
    EXPECT_EQ(file_name_of("a.nib"), "a.nib");
    EXPECT_EQ(directory_of("\\a.nib"), "\\a.nib");
    EXPECT_EQ(file_name_of("/a.nib"), "/a.nib");
}
