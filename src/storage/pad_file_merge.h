#pragma once
// Writing a pad back to a file that something else may have changed since it was read: what was
// written there is merged in first, as Synchronize would, so that no note is lost on either side.
#include "model/pad.h"
#include "storage/file_signature.h"
#include "storage/pad_document.h"

#include <string>

// What a merge does with a file that a newer version of the program wrote, which may hold more
// than this one reads: leaves it alone (it is not merged and still counts as changed), refuses
// with the newer-file error, or takes what this version reads of it (the user agreed).
enum class NewerFile { skip, refuse, take };

// When the file differs from `known`, synchronises `pad` with the file's pad and returns true;
// `known` then describes the file as it was read. A file that cannot be read as a pad (half
// written, locked, cut short, gone) holds nothing to merge: the pad and `known` stay as they are.
bool merge_file_changes(const std::string& path, Pad& pad, FileSignature& known, NewerFile newer);

// Whether the file is a pad that a newer version of the program wrote.
bool written_by_newer_version(const std::string& path);

// Merges the file's changes as above (refusing a newer file), then writes the pad; `known` then
// describes the file as written. Returns whether anything was merged in.
bool save_merging(const std::string& path, const PadFileHeader& header, Pad& pad, FileSignature& known);
