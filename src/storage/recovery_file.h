#pragma once
// What a window has not saved yet, kept where a later start finds it should the session end
// unexpectedly: a pad file holding only the changes, and the path of the pad they belong to.
#include "model/pad.h"

#include <cstdint>
#include <string>

struct RecoveredPad {
    std::string pad_path;  // empty for a pad that was never saved
    Pad changes;
    // The nibs that came back, counting the deleted ones; empty nibs do not count.
    std::int32_t count() const;
};

// Writes the changes of `pad` (see Pad::save_changes) through the same safe replacement as a save.
void write_recovery(const std::string& path, const std::string& pad_path, const Pad& pad, const std::string* pending);

// Reads a recovery file; throws the file's msg_exception when it is not a whole one.
RecoveredPad read_recovery(const std::string& path);
