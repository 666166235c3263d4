#include "mapfile_test_support.h"

#include <gtest/gtest.h>

namespace {

TEST(FillMessage, FillsThePlaceholdersInOrderAndAlwaysEnds) {
    const struct {
        std::string format, a1, a2, a3, a4, filled;
    } cases[] = {
        {"#4#3#2#1 and #1 again", "1", "2", "3", "4", "4321 and 1 again"},
        {"see #1", "#2 here", "two", "", "", "see two here"},  // brought in by an earlier argument
        // Arguments that hold their own placeholder.
        {"Save changes before closing #1?", "C:\\#1\\#1.nib", "", "", "", "Save changes before closing C:\\#1\\#1.nib?"},
    };
    for (const auto& c : cases) EXPECT_EQ(fill_message(c.format, c.a1, c.a2, c.a3, c.a4), c.filled) << c.format;
}

TEST(CheckCall, RaisesTheUnexpectedErrorNamingItsPlace) {
    const std::string line = message_line(thrown_by([] { check_call(false, "mapfile.cpp", 126); }));
    EXPECT_EQ(line.rfind("Unexpected error: An unexpected error: mapfile.cpp::126 #", 0), 0u) << line;
    EXPECT_EQ(line.substr(line.size() - 5), " (48)");
    EXPECT_NE(thrown_by([] { CHECK_CALL(nullptr); }).text.find("messages_test.cpp::"), std::string::npos);
    // With line -1 the text stands as given.
    EXPECT_EQ(message_line(thrown_by([] { check_call(0, "C:\\x.nib not found", -1); })),
              "Unexpected error: C:\\x.nib not found (48)");
}

}  // namespace
