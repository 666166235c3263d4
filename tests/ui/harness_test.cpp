// The harness itself: the window tests rely on it to answer dialogs and to leave the registry
// as it found it.
#include "harness/dialog_answerer.h"
#include "harness/registry_guard.h"
#include "support/messages.h"

#include <gtest/gtest.h>

namespace {

using namespace std::chrono_literals;

TEST(DialogAnswerer, AnswersAnnouncedBoxesInTurnAndCancelsOthers) {
    harness::DialogAnswerer answerer(300ms);
    answerer.press("First", IDOK).press("Second", IDNO).press("Never shown", IDYES);
    msg_exception("Something went wrong.", "First", style_warning).show(nullptr);
    EXPECT_EQ(MessageBoxA(nullptr, "Keep it?", "Second", MB_YESNO), IDNO);
    EXPECT_EQ(MessageBoxA(nullptr, "Nobody expects this.", "Surprise", MB_YESNOCANCEL), IDCANCEL);
    EXPECT_NE(MessageBoxA(nullptr, "Nor this.", "Surprise", MB_OK), 0) << "an OK-only box closes too";
    const auto seen = answerer.seen();
    ASSERT_EQ(seen.size(), 4u);
    EXPECT_EQ(seen[0].title, "First");
    EXPECT_EQ(seen[0].text, "Something went wrong.");
    EXPECT_EQ(seen[1].text, "Keep it?");
    EXPECT_FALSE(seen[2].expected);
    EXPECT_EQ(answerer.unexpected(), 2);
    EXPECT_FALSE(answerer.all_answered());
}

std::string value(const std::string& key, const char* name) {
    char data[64] = {};
    DWORD size = sizeof data;
    if (RegGetValueA(HKEY_CURRENT_USER, key.c_str(), name, RRF_RT_REG_SZ, nullptr, data, &size) != ERROR_SUCCESS)
        return "(missing)";
    return data;
}

void set_value(const std::string& key, const char* name, const char* data) {
    RegSetKeyValueA(HKEY_CURRENT_USER, key.c_str(), name, REG_SZ, data, static_cast<DWORD>(strlen(data) + 1));
}

TEST(RegistryKeyGuard, PutsBackValuesAndSubkeysAndRemovesWhatTheTestAdded) {
    const std::string key = "Software\\Velmoran\\ScrivelHarnessCheck", inner = key + "\\Inner";
    RegDeleteTreeA(HKEY_CURRENT_USER, key.c_str());
    RegDeleteKeyA(HKEY_CURRENT_USER, key.c_str());
    {
        harness::RegistryKeyGuard guard(HKEY_CURRENT_USER, key);
        set_value(key, "Kept", "after");
    }
    EXPECT_EQ(value(key, "Kept"), "(missing)") << "a key that was missing is missing again";

    set_value(key, "Kept", "before");
    set_value(inner, "Deep", "inner before");
    {
        harness::RegistryKeyGuard guard(HKEY_CURRENT_USER, key);
        set_value(key, "Kept", "after");
        set_value(key, "Added", "new");
        set_value(inner, "Deep", "inner after");
        set_value(key + "\\New", "Value", "x");
    }
    EXPECT_EQ(value(key, "Kept"), "before");
    EXPECT_EQ(value(key, "Added"), "(missing)");
    EXPECT_EQ(value(inner, "Deep"), "inner before");
    EXPECT_EQ(value(key + "\\New", "Value"), "(missing)");
    RegDeleteTreeA(HKEY_CURRENT_USER, key.c_str());
    RegDeleteKeyA(HKEY_CURRENT_USER, key.c_str());
}

}  // namespace
