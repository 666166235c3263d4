// The harness itself: the window tests rely on it to answer dialogs and to leave the registry
// as it found it.
#include "harness/dialog_answerer.h"
#include "harness/process.h"
#include "harness/registry_guard.h"
#include "support/messages.h"

#include <gtest/gtest.h>

#include <vector>

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

namespace {

// A dialog made in memory: an edit (id 10) and a check box (id 11); OK reports both as
// "text|ticked", and when `stubborn` nothing closes it.
bool stubborn = false;
std::string reported;

INT_PTR CALLBACK test_dialog(HWND dialog, UINT message, WPARAM w, LPARAM) {
    if (message == WM_INITDIALOG) return TRUE;
    if (message != WM_COMMAND || (LOWORD(w) != IDOK && LOWORD(w) != IDCANCEL) || stubborn) return FALSE;
    char text[64] = {};
    GetDlgItemTextA(dialog, 10, text, sizeof text);
    reported = std::string(text) + "|" + (IsDlgButtonChecked(dialog, 11) ? "ticked" : "clear");
    EndDialog(dialog, LOWORD(w));
    return TRUE;
}

INT_PTR show_test_dialog() {
    // DLGTEMPLATE, then menu, class and title (empty), then two items, each DWORD-aligned.
    std::vector<WORD> t(64, 0);
    auto* head = reinterpret_cast<DLGTEMPLATE*>(t.data());
    head->style = WS_POPUP | WS_CAPTION | WS_VISIBLE | DS_MODALFRAME;
    head->cdit = 2;
    head->cx = 120;
    head->cy = 60;
    std::size_t at = sizeof(DLGTEMPLATE) / 2 + 3;
    auto item = [&](DWORD style, short y, WORD id, WORD atom) {
        at = (at + 1) & ~std::size_t(1);
        auto* i = reinterpret_cast<DLGITEMTEMPLATE*>(&t[at]);
        *i = {WS_CHILD | WS_VISIBLE | style, 0, 5, y, 100, 12, id};
        at += sizeof(DLGITEMTEMPLATE) / 2;
        t[at++] = 0xFFFF;
        t[at++] = atom;  // 0x81 edit, 0x80 button
        at += 2;         // no text, no creation data
    };
    item(WS_BORDER, 5, 10, 0x81);
    item(BS_AUTOCHECKBOX, 25, 11, 0x80);
    return DialogBoxIndirectParamA(GetModuleHandleA(nullptr), head, nullptr, test_dialog, 0);
}

}  // namespace

TEST(DialogAnswerer, FillsControlsBeforeTheButtonAndEndsDialogsThatStayOpen) {
    harness::DialogAnswerer answerer(300ms);
    stubborn = false;
    answerer.set_text("", 10, "Some Text").tick("", 11).press("", IDOK);
    EXPECT_EQ(show_test_dialog(), IDOK);
    EXPECT_EQ(reported, "Some Text|ticked");
    EXPECT_EQ(answerer.unexpected(), 0);
    stubborn = true;
    answerer.press("", IDOK);
    EXPECT_EQ(show_test_dialog(), IDCANCEL) << "answered, cancelled, then ended";
    EXPECT_EQ(answerer.unexpected(), 1);
}

TEST(Process, WaitReturnsTheExitCodeOrEndsAProcessThatRunsTooLong) {
    char system[MAX_PATH] = {};
    GetSystemDirectoryA(system, MAX_PATH);
    const std::string cmd = std::string(system) + "\\cmd.exe";
    EXPECT_EQ(harness::run_process(cmd + " /c exit 3"), 3u);
    harness::Process slow(cmd + " /c for /l %i in (1,0,2) do rem");
    EXPECT_FALSE(slow.wait(300ms).has_value());
    EXPECT_FALSE(slow.running());
}

TEST(RegistryKeyGuard, PutsBackValuesAndSubkeysAndRemovesWhatTheTestAdded) {
    const std::string key = "Software\\Velmoran\\ScrivelHarnessCheck", inner = key + "\\Inner";
    auto set = [](const std::string& path, const char* name, const std::string& data) {
        RegSetKeyValueA(HKEY_CURRENT_USER, path.c_str(), name, REG_SZ, data.c_str(), DWORD(data.size() + 1));
    };
    auto get = [](const std::string& path, const char* name) {
        char data[64] = {};
        DWORD size = sizeof data;
        const auto status = RegGetValueA(HKEY_CURRENT_USER, path.c_str(), name, RRF_RT_REG_SZ, nullptr, data, &size);
        return status == ERROR_SUCCESS ? std::string(data) : "(missing)";
    };
    auto remove = [&] {
        RegDeleteTreeA(HKEY_CURRENT_USER, key.c_str());
        RegDeleteKeyA(HKEY_CURRENT_USER, key.c_str());
    };
    remove();
    for (const std::string before : {"(missing)", "before"}) {
        if (before == "before") {
            set(key, "Kept", before);
            set(inner, "Deep", before);
        }
        {
            harness::RegistryKeyGuard guard(HKEY_CURRENT_USER, key);
            set(key, "Kept", "after");
            set(inner, "Deep", "after");
            set(key + "\\New", "Added", "after");
        }
        EXPECT_EQ(get(key, "Kept") + get(inner, "Deep"), before + before);
        EXPECT_EQ(get(key + "\\New", "Added"), "(missing)");
    }
    remove();
}

}  // namespace
