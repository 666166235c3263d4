#include "support/messages.h"
#include "support/texts.h"

#include <gtest/gtest.h>

#include <vector>

TEST(FillMessage, FillsNumberedPlaceholdersInOrder) {
    EXPECT_EQ(fill_message(texts.could_not_file, "open", "C:\\pads\\a.nib", "No such file"),
              "Could not open file C:\\pads\\a.nib: No such file");
    EXPECT_EQ(fill_message("#1 and #1 again", "x"), "x and x again");
    EXPECT_EQ(fill_message("no placeholders at all", "x", "y"), "no placeholders at all");
    EXPECT_EQ(fill_message("#1 % done", "42"), "42 % done");
}

TEST(FillMessage, PlaceholderBroughtInByAnEarlierArgumentIsFilled) {
    EXPECT_EQ(fill_message("see #1", "#2 here", "two"), "see two here");
}

TEST(FillMessage, ArgumentHoldingItsOwnPlaceholderEnds) {
    EXPECT_EQ(fill_message("Save changes before closing #1?", "C:\\#1\\#1.nib"),
              "Save changes before closing C:\\#1\\#1.nib?");
    EXPECT_EQ(fill_message("#1#1", "#1"), "#1#1");
    EXPECT_EQ(fill_message("#2 #1", "#2", "#2#2"), "#2#2 #2#2");
    EXPECT_EQ(fill_message("#1", ""), "");
}

TEST(CheckCall, ReturnsNonZeroValuesUnchanged) {
    int x = 0;
    EXPECT_EQ(CHECK_CALL(&x), &x);
    EXPECT_EQ(CHECK_CALL(7u), 7u);
    EXPECT_TRUE(CHECK_CALL(true));
}

TEST(CheckCall, FailureNamesFileAndLine) {
    try {
        check_call(false, "mapfile.cpp", 126);
        FAIL() << "no exception";
    } catch (const msg_exception& e) {
        EXPECT_EQ(e.title, "Unexpected error");
        EXPECT_EQ(e.style, 48u);
        EXPECT_EQ(e.text.rfind("An unexpected error: mapfile.cpp::126 #", 0), 0u) << e.text;
    }
    try {
        CHECK_CALL(nullptr);
        FAIL() << "no exception";
    } catch (const msg_exception& e) {
        EXPECT_NE(e.text.find("messages_test.cpp::"), std::string::npos) << e.text;
    }
}

TEST(CheckCall, LineMinusOneUsesTheTextAsItStands) {
    try {
        check_call(0, "C:\\x.nib not found", -1);
        FAIL() << "no exception";
    } catch (const msg_exception& e) {
        EXPECT_EQ(e.text, "C:\\x.nib not found");
        EXPECT_EQ(e.title, "Unexpected error");
    }
}

TEST(MsgException, ShowGoesToTheSinkAndSilentShowsNothing) {
    std::vector<std::string> shown;
    auto old = set_message_sink([&](void*, const std::string& text, const std::string& title, std::uint32_t style) {
        shown.push_back(title + "|" + text + "|" + std::to_string(style));
    });
    msg_exception("body", "caption", style_stop).show();
    silent_exception().show();
    set_message_sink(old);
    ASSERT_EQ(shown.size(), 1u);
    EXPECT_EQ(shown[0], "caption|body|16");

    silent_exception s;
    EXPECT_STREQ(s.what(), "An exception has occured.");
    EXPECT_EQ(s.title, "Error");
    EXPECT_EQ(s.style, 48u);
}

TEST(MsgException, CopiesCarryTheMessageThroughThrowAndCatch) {
    try {
        try {
            throw silent_exception();
        } catch (const msg_exception& e) {
            throw;
        }
    } catch (const silent_exception& e) {
        EXPECT_STREQ(e.what(), "An exception has occured.");
    }
}
