// nibtool on Windows: arguments from the wide command line, a console written and read through
// its wide interface, bytes as they are (and JSON in UTF-8) to files, progress on a console.
#include "mapfile_test_support.h"
#include "storage/pad_document.h"
#include "tools/console.h"
#include "tools/progress_line.h"

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <windows.h>

#include <istream>
#include <iterator>
#include <ostream>

namespace {

using ::testing::HasSubstr;

std::wstring wide(const std::string& utf8) { return std::filesystem::path(std::u8string(utf8.begin(), utf8.end())).wstring(); }

// A handle that a started program inherits.
HANDLE inherited(const std::wstring& name, DWORD access, DWORD disposition) {
    SECURITY_ATTRIBUTES attributes{sizeof attributes, nullptr, TRUE};
    return CreateFileW(name.c_str(), access, FILE_SHARE_READ | FILE_SHARE_WRITE, &attributes, disposition, 0, nullptr);
}

// A console of the test's own: what is written to it can be read back, and keys typed into it.
class TestConsole {
public:
    TestConsole() {
        FreeConsole();
        AllocConsole();
        output = inherited(L"CONOUT$", GENERIC_READ | GENERIC_WRITE, OPEN_EXISTING);
        input = inherited(L"CONIN$", GENERIC_READ | GENERIC_WRITE, OPEN_EXISTING);
        // As on Windows, where a console's own code page is not the ANSI one.
        SetConsoleCP(850);
        SetConsoleOutputCP(850);
    }
    ~TestConsole() {
        CloseHandle(output);
        CloseHandle(input);
    }
    // The cursor's row, blanks at its end dropped.
    std::wstring row() const {
        CONSOLE_SCREEN_BUFFER_INFO info{};
        GetConsoleScreenBufferInfo(output, &info);
        std::wstring line(info.dwSize.X, L' ');
        DWORD read = 0;
        ReadConsoleOutputCharacterW(output, line.data(), info.dwSize.X, COORD{0, info.dwCursorPosition.Y}, &read);
        return line.substr(0, line.find_last_not_of(L' ') + 1);
    }
    void type(const std::wstring& keys) const {
        std::vector<INPUT_RECORD> events;
        for (wchar_t key : keys)
            for (BOOL down : {TRUE, FALSE}) {
                INPUT_RECORD event{.EventType = KEY_EVENT};
                event.Event.KeyEvent = {.bKeyDown = down, .wRepeatCount = 1, .wVirtualKeyCode = WORD(key == L'\r' ? VK_RETURN : 0)};
                event.Event.KeyEvent.uChar.UnicodeChar = key;
                events.push_back(event);
            }
        DWORD written = 0;
        WriteConsoleInputW(input, events.data(), static_cast<DWORD>(events.size()), &written);
    }

    HANDLE output, input;
};

struct ProgramRun {
    DWORD status = 1;
    std::string out, err;
};

// Runs nibtool.exe with `arguments` (UTF-8) on a wide command line, its standard output and error
// going to files: it has no console at all.
ProgramRun run_program(const ScratchFolder& folder, const std::vector<std::string>& arguments) {
    std::string program = NIBTOOL_PATH;
    if (program[0] == '/') program = "Z:" + program;  // cross-built and run under Wine: the host path is on Z
    std::wstring command = L"\"" + wide(program) + L"\"";
    for (const std::string& argument : arguments) command += L" \"" + wide(argument) + L"\"";
    // Files of their own: Wine may report a program's end before it lets go of its handles.
    static int runs = 0;
    const std::string out_path = folder.path("out" + std::to_string(++runs)), err_path = folder.path("err" + std::to_string(runs));
    STARTUPINFOW start{.cb = sizeof start, .dwFlags = STARTF_USESTDHANDLES};
    start.hStdOutput = inherited(wide(out_path), GENERIC_WRITE, CREATE_ALWAYS);
    start.hStdError = inherited(wide(err_path), GENERIC_WRITE, CREATE_ALWAYS);
    PROCESS_INFORMATION process{};
    ProgramRun run;
    if (CreateProcessW(nullptr, command.data(), nullptr, nullptr, TRUE, CREATE_NO_WINDOW, nullptr, nullptr, &start, &process)) {
        WaitForSingleObject(process.hProcess, 60000);
        GetExitCodeProcess(process.hProcess, &run.status);
        CloseHandle(process.hProcess);
        CloseHandle(process.hThread);
    }
    CloseHandle(start.hStdOutput);
    CloseHandle(start.hStdError);
    run.out = read_bytes(out_path);
    run.err = read_bytes(err_path);
    return run;
}

}  // namespace

TEST(NibtoolOnWindows, WideArgumentsInBytesOutToFilesCharactersToAConsole) {
    ScratchFolder folder;
    const std::string pad = folder.path("notes.nib");
    ASSERT_EQ(run_program(folder, {"add", pad, "Z\xC3\xBCrich"}).status, 0u);
    EXPECT_EQ(read_pad_file(pad).pad.nibs()[0].text(), "Z\xFCrich");
    EXPECT_THAT(run_program(folder, {"list", "--json", pad}).out, HasSubstr("\"text\":\"Z\xC3\xBCrich\"}"));

    const ProgramRun refused = run_program(folder, {"find", pad, "Wei\xC5\x91"});
    EXPECT_EQ(refused.status, 1u);
    EXPECT_EQ(refused.err, "Error: \"Wei?\" holds the character U+0151, which code page 1252 cannot hold.\r\n");

    // A console shows the characters and the progress.
    const TestConsole console;
    const DWORD ids[] = {STD_INPUT_HANDLE, STD_OUTPUT_HANDLE, STD_ERROR_HANDLE};
    HANDLE kept[3];
    for (int i = 0; i < 3; ++i) {
        kept[i] = GetStdHandle(ids[i]);
        SetStdHandle(ids[i], i == 0 ? console.input : console.output);
    }
    const Terminal terminal = console::open_terminal();
    EXPECT_TRUE(terminal.progress);
    EXPECT_FALSE(terminal.json_utf8);
    const std::unique_ptr<std::streambuf> error = console::console_buffer(console::StandardStream::error);
    std::ostream err(error.get());
    ProgressLine progress(err, true);
    progress.step("Writing \xFC.nib...");
    EXPECT_EQ(console.row(), L"Writing \u00fc.nib...");

    // Typed text too comes in the ANSI code page; Ctrl+Z ends it.
    console.type(L"Gr\u00fc\u00dfe\r\x1A\r");
    const std::unique_ptr<std::streambuf> input = console::console_buffer(console::StandardStream::input);
    std::istream in(input.get());
    EXPECT_EQ(std::string(std::istreambuf_iterator<char>(in), {}), "Gr\xFC\xDF" "e\r\n");
    for (int i = 0; i < 3; ++i) SetStdHandle(ids[i], kept[i]);
}
