// The terminal on Windows. A console is read and written through its wide interface, so that it
// shows what the bytes of the ANSI code page stand for, whatever its own code page; pipes and
// files take the bytes as they are.
#include "tools/console.h"

#include "support/messages.h"
#include "support/texts.h"
#include "tools/pad_text_encoding.h"

#include <windows.h>
#include <shellapi.h>

#include <cstdio>
#include <cstring>
#include <string_view>

namespace console {

namespace {

HANDLE standard_handle(StandardStream stream) {
    switch (stream) {
    case StandardStream::input: return GetStdHandle(STD_INPUT_HANDLE);
    case StandardStream::output: return GetStdHandle(STD_OUTPUT_HANDLE);
    default: return GetStdHandle(STD_ERROR_HANDLE);
    }
}

bool is_console(HANDLE handle) {
    DWORD mode;
    return GetConsoleMode(handle, &mode) != 0;
}

std::wstring wide_text(std::string_view text) {
    const int size = static_cast<int>(text.size());
    const int length = MultiByteToWideChar(CP_ACP, 0, text.data(), size, nullptr, 0);
    std::wstring wide(static_cast<std::size_t>(length), L'\0');
    MultiByteToWideChar(CP_ACP, 0, text.data(), size, wide.data(), length);
    return wide;
}

// `text` in the ANSI code page, a character without a place there as its default character.
// `complete` tells whether there was none; a UTF-8 code page has a place for every one.
std::string narrow_text(std::wstring_view text, bool& complete) {
    const bool utf8 = GetACP() == CP_UTF8;
    BOOL defaulted = FALSE;
    BOOL* used_default = utf8 ? nullptr : &defaulted;
    const DWORD flags = utf8 ? 0 : WC_NO_BEST_FIT_CHARS;
    const int size = static_cast<int>(text.size());
    const int length = WideCharToMultiByte(CP_ACP, flags, text.data(), size, nullptr, 0, nullptr, used_default);
    std::string narrow(static_cast<std::size_t>(length), '\0');
    WideCharToMultiByte(CP_ACP, flags, text.data(), size, narrow.data(), length, nullptr, used_default);
    complete = !defaulted;
    return narrow;
}

[[noreturn]] void raise_unstorable(std::wstring_view text, const std::string& shown) {
    std::size_t at = 0, length = 1;
    for (bool complete = true; at < text.size(); at += length) {
        length = IS_HIGH_SURROGATE(text[at]) && at + 1 < text.size() ? 2 : 1;
        narrow_text(text.substr(at, length), complete);
        if (!complete) break;
    }
    char32_t character = at < text.size() ? text[at] : U'?';
    if (length == 2) character = 0x10000 + ((character - 0xD800) << 10) + (text[at + 1] - 0xDC00);
    char code[16];
    std::snprintf(code, sizeof code, "U+%04X", static_cast<unsigned>(character));
    throw msg_exception(fill_message(texts.tool_unstorable_character, quoted_excerpt(shown), code,
                                     "code page " + std::to_string(GetACP())),
                        texts.error, style_warning);
}

// `text` in the ANSI code page; throws the message that names the first character it cannot hold.
std::string ansi_text(std::wstring_view text) {
    bool complete;
    std::string narrow = narrow_text(text, complete);
    if (!complete) raise_unstorable(text, narrow);
    return narrow;
}

class ConsoleWriter final : public std::streambuf {
public:
    explicit ConsoleWriter(HANDLE console) : console(console) { setp(buffer, buffer + sizeof buffer); }
    ~ConsoleWriter() override { sync(); }

protected:
    int_type overflow(int_type c) override {
        // A full buffer is written up to its last line break, which never falls inside a character
        // of a code page of two-byte characters.
        char* cut = pptr();
        while (cut > pbase() && cut[-1] != '\n') --cut;
        if (cut == pbase()) cut = pptr();
        if (!write({pbase(), static_cast<std::size_t>(cut - pbase())})) return traits_type::eof();
        const std::size_t left = static_cast<std::size_t>(pptr() - cut);
        std::memmove(buffer, cut, left);
        setp(buffer, buffer + sizeof buffer);
        pbump(static_cast<int>(left));
        if (!traits_type::eq_int_type(c, traits_type::eof())) {
            *pptr() = traits_type::to_char_type(c);
            pbump(1);
        }
        return traits_type::not_eof(c);
    }

    int sync() override {
        const bool written = write({pbase(), static_cast<std::size_t>(pptr() - pbase())});
        setp(buffer, buffer + sizeof buffer);
        return written ? 0 : -1;
    }

private:
    bool write(std::string_view text) {
        const std::wstring wide = wide_text(text);
        DWORD written = 0;
        return wide.empty() || WriteConsoleW(console, wide.data(), static_cast<DWORD>(wide.size()), &written, nullptr);
    }

    HANDLE console;
    char buffer[4096];
};

// Ctrl+Z ends console input, as it does for the C runtime.
class ConsoleReader final : public std::streambuf {
public:
    explicit ConsoleReader(HANDLE console) : console(console) {}

protected:
    int_type underflow() override {
        while (gptr() == egptr()) {
            if (ended) return traits_type::eof();
            wchar_t wide[1024];
            std::size_t size = 0;
            if (pending) wide[size++] = pending;
            pending = 0;
            DWORD read = 0;
            if (!ReadConsoleW(console, wide + size, static_cast<DWORD>(std::size(wide) - size), &read, nullptr) || read == 0)
                ended = true;
            std::wstring_view chunk(wide, size + read);
            if (const std::size_t stop = chunk.find(L'\x1A'); stop != std::wstring_view::npos) {
                chunk = chunk.substr(0, stop);
                ended = true;
            }
            // The first half of a character in two waits for its second.
            if (!ended && !chunk.empty() && IS_HIGH_SURROGATE(chunk.back())) {
                pending = chunk.back();
                chunk.remove_suffix(1);
            }
            text = ansi_text(chunk);
            setg(text.data(), text.data(), text.data() + text.size());
        }
        return traits_type::to_int_type(*gptr());
    }

private:
    HANDLE console;
    std::string text;
    wchar_t pending = 0;
    bool ended = false;
};

}  // namespace

Terminal open_terminal() {
    Terminal terminal;
    // A console shows pad text itself; a pipe or a file gets JSON in UTF-8.
    terminal.json_utf8 = !is_console(standard_handle(StandardStream::output));
    terminal.progress = is_console(standard_handle(StandardStream::error));
    return terminal;
}

std::unique_ptr<std::streambuf> console_buffer(StandardStream stream) {
    const HANDLE handle = standard_handle(stream);
    if (!is_console(handle)) return nullptr;
    if (stream == StandardStream::input) return std::make_unique<ConsoleReader>(handle);
    return std::make_unique<ConsoleWriter>(handle);
}

std::vector<std::string> arguments(int, char**) {
    int count = 0;
    const std::unique_ptr<LPWSTR, decltype(&LocalFree)> wide(CommandLineToArgvW(GetCommandLineW(), &count), &LocalFree);
    check_call(wide.get(), __FILE__, __LINE__);
    std::vector<std::string> result;
    for (int i = 1; i < count; ++i) result.push_back(ansi_text(wide.get()[i]));
    return result;
}

}  // namespace console
