// The harness itself: the window tests rely on it to answer dialogs and to leave the registry
// as it found it.
#include "harness/dialog_answerer.h"
#include "harness/registry_guard.h"
#include "support/messages.h"

#include <commdlg.h>
#include <gtest/gtest.h>

#include <cstdio>
#include <fstream>

namespace {

using namespace std::chrono_literals;

TEST(DialogAnswerer, AnswersMessageBoxesInTurnAndReadsThem) {
    harness::DialogAnswerer answerer;
    answerer.press("First", IDOK).press("Second", IDNO);
    msg_exception("Something went wrong.", "First", style_warning).show(nullptr);
    EXPECT_EQ(MessageBoxA(nullptr, "Keep it?", "Second", MB_YESNO), IDNO);
    ASSERT_TRUE(answerer.all_answered());
    const auto seen = answerer.seen();
    ASSERT_EQ(seen.size(), 2u);
    EXPECT_EQ(seen[0].title, "First");
    EXPECT_EQ(seen[0].text, "Something went wrong.");
    EXPECT_EQ(seen[1].text, "Keep it?");
    EXPECT_EQ(answerer.unexpected(), 0);
}

TEST(DialogAnswerer, CancelsAnUnexpectedDialogSoNothingHangs) {
    harness::DialogAnswerer answerer(300ms);
    answerer.press("Another title", IDYES);
    EXPECT_EQ(MessageBoxA(nullptr, "Nobody expects this.", "Surprise", MB_YESNOCANCEL), IDCANCEL);
    EXPECT_NE(MessageBoxA(nullptr, "Nor this.", "Surprise", MB_OK), 0);
    EXPECT_EQ(answerer.unexpected(), 2);
    EXPECT_FALSE(answerer.all_answered());
}

TEST(DialogAnswerer, FillsTheFileNameOfAnOpenDialog) {
    char directory[MAX_PATH];
    GetTempPathA(MAX_PATH, directory);
    const std::string path = std::string(directory) + "harness pick.nib";
    std::ofstream(path) << "NNIBS (1): 0\n";

    harness::DialogAnswerer answerer;
    answerer.fill_file_name("", path);
    char chosen[MAX_PATH] = {};
    OPENFILENAMEA dialog{};
    dialog.lStructSize = sizeof dialog;
    dialog.lpstrFile = chosen;
    dialog.nMaxFile = MAX_PATH;
    dialog.Flags = OFN_HIDEREADONLY | OFN_FILEMUSTEXIST | OFN_PATHMUSTEXIST;
    EXPECT_TRUE(GetOpenFileNameA(&dialog));
    EXPECT_STRCASEEQ(chosen, path.c_str());
    EXPECT_TRUE(answerer.all_answered());
    std::remove(path.c_str());
}

constexpr const char* scratch_key = "Software\\Velmoran\\ScrivelHarnessCheck";

std::string read_value(const char* key, const char* name) {
    char data[64] = {};
    DWORD size = sizeof data;
    if (RegGetValueA(HKEY_CURRENT_USER, key, name, RRF_RT_REG_SZ, nullptr, data, &size) != ERROR_SUCCESS)
        return "(missing)";
    return data;
}

void write_value(const char* key, const char* name, const char* data) {
    RegSetKeyValueA(HKEY_CURRENT_USER, key, name, REG_SZ, data, static_cast<DWORD>(strlen(data) + 1));
}

TEST(RegistryKeyGuard, PutsBackValuesAndRemovesWhatTheTestAdded) {
    RegDeleteTreeA(HKEY_CURRENT_USER, scratch_key);
    write_value(scratch_key, "Kept", "before");
    write_value((std::string(scratch_key) + "\\Inner").c_str(), "Deep", "inner before");
    {
        harness::RegistryKeyGuard guard(HKEY_CURRENT_USER, scratch_key);
        write_value(scratch_key, "Kept", "after");
        write_value(scratch_key, "Added", "new");
        write_value((std::string(scratch_key) + "\\Inner").c_str(), "Deep", "inner after");
        write_value((std::string(scratch_key) + "\\New").c_str(), "Value", "x");
    }
    EXPECT_EQ(read_value(scratch_key, "Kept"), "before");
    EXPECT_EQ(read_value(scratch_key, "Added"), "(missing)");
    EXPECT_EQ(read_value((std::string(scratch_key) + "\\Inner").c_str(), "Deep"), "inner before");
    HKEY added;
    EXPECT_NE(RegOpenKeyExA(HKEY_CURRENT_USER, (std::string(scratch_key) + "\\New").c_str(), 0, KEY_READ, &added),
              ERROR_SUCCESS);

    RegDeleteTreeA(HKEY_CURRENT_USER, scratch_key);
    RegDeleteKeyA(HKEY_CURRENT_USER, scratch_key);
    {
        harness::RegistryKeyGuard guard(HKEY_CURRENT_USER, scratch_key);
        write_value(scratch_key, "Kept", "after");
    }
    EXPECT_EQ(read_value(scratch_key, "Kept"), "(missing)") << "a key that was missing is missing again";
}

}  // namespace
