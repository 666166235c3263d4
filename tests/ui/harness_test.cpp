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

TEST(RegistryKeyGuard, PutsBackValuesAndSubkeysAndRemovesWhatTheTestAdded) {
    const std::string key = "Software\\Velmoran\\ScrivelHarnessCheck";
    auto set = [&](const std::string& sub, const std::string& data) {
        RegSetKeyValueA(HKEY_CURRENT_USER, (key + sub).c_str(), "Value", REG_SZ, data.c_str(), DWORD(data.size() + 1));
    };
    auto get = [&](const std::string& sub) {
        char data[64] = {};
        DWORD size = sizeof data;
        const auto status = RegGetValueA(HKEY_CURRENT_USER, (key + sub).c_str(), "Value", RRF_RT_REG_SZ, nullptr, data, &size);
        return status == ERROR_SUCCESS ? std::string(data) : "(missing)";
    };
    auto remove = [&] {
        RegDeleteTreeA(HKEY_CURRENT_USER, key.c_str());
        RegDeleteKeyA(HKEY_CURRENT_USER, key.c_str());
    };
    remove();
    for (const std::string before : {"(missing)", "before"}) {
        if (before == "before") {
            set("", before);
            set("\\Inner", before);
        }
        {
            harness::RegistryKeyGuard guard(HKEY_CURRENT_USER, key);
            for (const char* sub : {"", "\\Inner", "\\New"}) set(sub, "after");
        }
        EXPECT_EQ(get("") + get("\\Inner") + get("\\New"), before + before + "(missing)");
    }
    remove();
}

}  // namespace
