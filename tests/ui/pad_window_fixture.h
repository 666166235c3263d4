#pragma once
// A working copy of the program inside the test: the real Application (its settings key cleared
// and put back afterwards), pad files in a scratch directory, a stub for the shell, and its
// dialogs answered as each test announces, every one of them by the test's end.
#include "app/app_test_support.h"
#include "app/application.h"
#include "harness/dialog_answerer.h"
#include "harness/input.h"
#include "harness/registry_guard.h"
#include "harness/window_test.h"
#include "storage/pad_document.h"
#include "support/texts.h"
#include "support/util.h"
#include "ui/command_ids.h"
#include "ui/dpi.h"
#include "ui/main_window.h"
#include "ui/magic_click_window.h"
#include "ui/search_window.h"

#include <algorithm>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <memory>
#include <string>
#include <vector>

using Strings = std::vector<std::string>;

class PadWindowTest : public harness::WindowTest {
protected:
    void SetUp() override {
        RegDeleteTreeA(HKEY_CURRENT_USER, "Software\\Velmoran\\Scrivel");
        app = std::make_unique<Application>(GetModuleHandleA(nullptr));
    }
    void TearDown() override {
        EXPECT_TRUE(answers.all_answered());
        EXPECT_EQ(answers.unexpected(), 0);
        close_all();
        EXPECT_TRUE(windowMap.empty()) << "every object went with its window";
        harness::WindowTest::TearDown();
        app.reset();
        MagicClickWindow::setShellOpen(oldShellOpen);
        override_dpi(0);
    }

    // Whatever a test left open goes without questions.
    void close_all() const {
        for (MainWindow* window : std::vector<MainWindow*>(app->windows)) {
            window->padChanged = window->textChanged = 0;
            DestroyWindow(window->hwnd);
        }
        EXPECT_TRUE(app->windows.empty()) << "a destroyed window stayed in the list";
    }

    // A pad file holding the texts as nibs, in order.
    std::string write_pad(const std::string& name, const Strings& texts) const {
        Pad pad;
        for (const std::string& text : texts) {
            pad.new_nib();
            pad.set_current_text(text);
        }
        write_pad_file(dir.path() + name, {}, pad);
        return dir.path() + name;
    }
    MainWindow* open(const std::string& path) const { return window_of(app->openPad(path)); }
    MainWindow* new_pad() const { return window_of(app->newPad(SW_SHOWNORMAL)); }
    static MainWindow* window_of(HWND window) { return dynamic_cast<MainWindow*>(Window::fromHandle(window)); }

    static std::string text_of(HWND window) {
        std::string text(GetWindowTextLengthA(window), '\0');
        GetWindowTextA(window, text.data(), static_cast<int>(text.size() + 1));
        return text;
    }
    static std::string text_of(const Window* window) { return text_of(window->hwnd); }
    static Strings nib_texts(const Pad& pad) {
        Strings texts;
        for (const Nib& nib : pad.nibs()) texts.push_back(nib.text());
        return texts;
    }
    // In text order, for pads merged from more than one side.
    static Strings sorted_nib_texts(const Pad& pad) {
        Strings texts = nib_texts(pad);
        std::sort(texts.begin(), texts.end());
        return texts;
    }
    static std::string file_text(const std::string& path) {
        std::ifstream file(path, std::ios::binary);
        return {std::istreambuf_iterator<char>(file), {}};
    }
    // A pad file as a newer version of the program would have written it.
    std::string write_newer_pad(const std::string& name, const Strings& texts) const {
        const std::string path = write_pad(name, texts);
        std::string bytes = file_text(path);
        bytes.replace(bytes.find("FILE_VERSION (4): 1000"), 22, "FILE_VERSION (4): 1001");
        std::ofstream(path, std::ios::binary | std::ios::trunc) << bytes;
        return path;
    }
    // Replaces the text field's selection as typing or pasting would.
    static void type_into(MainWindow* window, const char* text) {
        SendMessageA(window->textField->hwnd, EM_REPLACESEL, TRUE, reinterpret_cast<LPARAM>(text));
    }
    // Whether the program was told to end; the message is taken, so it does not end the next test.
    static bool take_quit_message() {
        MSG quit;
        return PeekMessageA(&quit, nullptr, WM_QUIT, WM_QUIT, PM_REMOVE) != 0;
    }
    static LRESULT command(MainWindow* window, unsigned id) { return SendMessageA(window->hwnd, WM_COMMAND, id, 0); }

    harness::RegistryKeyGuard guard{HKEY_CURRENT_USER, "Software\\Velmoran\\Scrivel"};
    harness::PadTypeRegisteredTo registered{program_path()};
    TempDirectory dir;
    std::unique_ptr<Application> app;
    harness::DialogAnswerer answers;
    Strings shellFiles;  // what was handed to the shell
    bool shellWorks = true;
    MagicClickWindow::ShellOpen oldShellOpen = MagicClickWindow::setShellOpen([this](HWND, const std::string& file, int) {
        shellFiles.push_back(file);
        return shellWorks;
    });
};
