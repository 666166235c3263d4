#pragma once
// Errors the user is to see travel as exceptions that carry their own message box:
// text, title and style. The message loop catches them and shows them.
#include <cstdint>
#include <exception>
#include <functional>
#include <string>

// Message box styles used by the program (the values of MB_ICONEXCLAMATION and MB_ICONHAND).
inline constexpr std::uint32_t style_warning = 48;
inline constexpr std::uint32_t style_stop = 16;

class msg_exception : public std::exception {
public:
    msg_exception(std::string text, std::string title, std::uint32_t style);

    const char* what() const noexcept override { return text.c_str(); }
    // Shows the message box; `owner` is a window handle or null for none.
    virtual void show(void* owner = nullptr) const;

    std::string text;
    std::string title;
    std::uint32_t style;
};

// Abandons an operation after the user has already been told or asked: unwinds like an error, shows nothing.
class silent_exception : public msg_exception {
public:
    silent_exception();
    void show(void* owner = nullptr) const override;
};

// Every message box of the core goes through show_message. A test (or a program without a
// screen) may route them elsewhere; an empty sink restores the system's box. Returns the old sink.
using MessageSink = std::function<void(void* owner, const std::string& text, const std::string& title, std::uint32_t style)>;
MessageSink set_message_sink(MessageSink sink);
void show_message(void* owner, const std::string& text, const std::string& title, std::uint32_t style);

// Fills the placeholders "#1" to "#4" with the arguments, in that order. A placeholder that an
// earlier argument brought in is filled too; an argument that holds its own placeholder is not
// filled again, so the fill always ends.
std::string fill_message(std::string format, const std::string& a1 = {}, const std::string& a2 = {},
                         const std::string& a3 = {}, const std::string& a4 = {});

// The system's own wording of the calling thread's last error.
std::string last_error_text();

// Throws the "Unexpected error" for a failed system call. With line -1, `where` is the whole text.
[[noreturn]] void raise_failed_call(unsigned long error_code, const char* where, int line);

unsigned long last_error_code();

// Returns `value` when it is non-zero; otherwise throws the "Unexpected error" naming the call's place.
template <typename T>
T check_call(T value, const char* where, int line) {
    if (value) return value;
    raise_failed_call(last_error_code(), where, line);
}

// The file name of a source path, without its directories.
constexpr const char* source_name(const char* path) {
    const char* name = path;
    for (const char* p = path; *p; ++p)
        if (*p == '/' || *p == '\\') name = p + 1;
    return name;
}

// check_call with the calling source file and line filled in.
#define CHECK_CALL(call) check_call((call), source_name(__FILE__), __LINE__)
