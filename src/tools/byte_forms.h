#pragma once
// Text rewritten byte by byte, each byte into a form of its own (an escape, another encoding):
// the forms are made once, and a text is written in one pass into room made for the longest.
#include <array>
#include <cstddef>
#include <cstdint>
#include <cstring>
#include <string>
#include <string_view>

template <std::size_t longest>
class ByteForms {
public:
    // Every byte stands for itself until given another form, of at most `longest` bytes.
    ByteForms() {
        for (std::size_t i = 0; i < forms.size(); ++i) {
            const char byte = static_cast<char>(i);
            set(byte, {&byte, 1});
        }
    }
    void set(char byte, std::string_view form) {
        Form& entry = forms[static_cast<unsigned char>(byte)];
        form.copy(entry.bytes, longest);
        entry.size = static_cast<std::uint8_t>(form.size());
    }
    void append(std::string& out, std::string_view text) const {
        const std::size_t start = out.size();
        out.resize(start + longest * text.size());
        char* to = out.data() + start;
        for (const char byte : text) {
            const Form& form = forms[static_cast<unsigned char>(byte)];
            std::memcpy(to, form.bytes, longest);
            to += form.size;
        }
        out.resize(static_cast<std::size_t>(to - out.data()));
    }

private:
    struct Form {
        char bytes[longest];
        std::uint8_t size;
    };
    std::array<Form, 256> forms{};
};
