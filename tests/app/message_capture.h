#pragma once
// Catches the program's message boxes for the length of a test.
#include "support/messages.h"

#include <string>
#include <vector>

struct ShownMessage {
    std::string text;
    std::string title;
    std::uint32_t style;
};

class MessageCapture {
public:
    MessageCapture()
        : old_(set_message_sink([this](void*, const std::string& text, const std::string& title, std::uint32_t style) {
              shown.push_back({text, title, style});
          })) {}
    ~MessageCapture() { set_message_sink(old_); }
    MessageCapture(const MessageCapture&) = delete;
    MessageCapture& operator=(const MessageCapture&) = delete;

    std::vector<ShownMessage> shown;

private:
    MessageSink old_;
};
