#pragma once
// Pads hold Windows-1252 text, terminals mostly speak UTF-8: the conversion between the two.
#include <string>
#include <string_view>

// Appends the UTF-8 form of pad text. The five bytes 1252 leaves unassigned stand for the control
// characters of the same number, as Windows reads them, so every pad text has a form.
void append_utf8_from_pad_text(std::string& out, std::string_view text);

// The pad text of UTF-8 text. Throws msg_exception for a character 1252 cannot hold, naming it
// and the text, and for bytes that are no UTF-8: never a silent stand-in that a find would miss.
std::string pad_text_from_utf8(std::string_view text);

// `text` for a message: whole when short, otherwise its start and "...", cut between characters.
std::string quoted_excerpt(std::string_view text);
