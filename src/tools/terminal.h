#pragma once
// How nibtool meets the terminal it runs in. The console session finds it out; tests set it.
#include <string>
#include <string_view>

struct Terminal {
    // The terminal speaks UTF-8: typed text (arguments that are not file names, and standard
    // input for "add PAD -") becomes pad text, and pad text is shown in UTF-8. Otherwise bytes
    // pass unchanged.
    bool utf8 = false;
    // JSON goes out in UTF-8, as the format wants, except to a console that shows pad text itself.
    bool json_utf8 = true;
    // Standard error is a terminal: long jobs show a progress line there.
    bool progress = false;

    // Throws msg_exception for typed text that a pad cannot hold.
    std::string pad_text(std::string_view typed) const;
};
