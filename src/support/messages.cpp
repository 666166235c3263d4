#include "support/messages.h"

#include "support/platform.h"
#include "support/texts.h"

#include <utility>

namespace {
MessageSink& current_sink() {
    static MessageSink sink;
    return sink;
}
}  // namespace

MessageSink set_message_sink(MessageSink sink) { return std::exchange(current_sink(), std::move(sink)); }

void show_message(void* owner, const std::string& text, const std::string& title, std::uint32_t style) {
    if (current_sink())
        current_sink()(owner, text, title, style);
    else
        platform::message_box(owner, text, title, style);
}

msg_exception::msg_exception(std::string text_, std::string title_, std::uint32_t style_)
    : text(std::move(text_)), title(std::move(title_)), style(style_) {}

void msg_exception::show(void* owner) const { show_message(owner, text, title, style); }

silent_exception::silent_exception() : msg_exception(texts.exception_occured, texts.error, style_warning) {}

void silent_exception::show(void*) const {}

std::string fill_message(std::string format, const std::string& a1, const std::string& a2, const std::string& a3,
                         const std::string& a4) {
    const std::string* args[] = {&a1, &a2, &a3, &a4};
    char placeholder[] = "#1";
    for (const std::string* arg : args) {
        // Search on after each insertion: an argument holding this very placeholder must not loop.
        for (std::size_t at = format.find(placeholder); at != std::string::npos;
             at = format.find(placeholder, at + arg->size())) {
            format.replace(at, 2, *arg);
        }
        ++placeholder[1];
    }
    return format;
}

std::string last_error_text() { return platform::last_error_text(); }

unsigned long last_error_code() { return platform::last_error_code(); }

void raise_failed_call(unsigned long error_code, const char* where, int line) {
    std::string text = where;
    if (line != -1) {
        text = std::string(texts.unexpected_error_intro) + where + "::" + std::to_string(line) + " #" +
               std::to_string(error_code);
    }
    throw msg_exception(text, texts.unexpected_error, style_warning);
}
