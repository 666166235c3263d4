#pragma once
// Writing a pad back to a file that something else may have changed since it was read: what was
// written there is merged in first, as Synchronize would, so that no note is lost on either side.
#include "model/pad.h"
#include "storage/file_signature.h"
#include "storage/pad_document.h"

#include <string>

// When the file differs from `known`, synchronises `pad` with the file's pad and returns true;
// `known` then describes the file as it was read. A file that cannot be read as a pad (half
// written, locked, cut short, gone) holds nothing to merge: the pad and `known` stay as they are.
bool merge_file_changes(const std::string& path, Pad& pad, FileSignature& known);

// Merges the file's changes as above, then writes the pad; `known` then describes the file as
// written. Returns whether anything was merged in.
bool save_merging(const std::string& path, const PadFileHeader& header, Pad& pad, FileSignature& known);
