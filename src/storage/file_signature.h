#pragma once
// What a pad file looked like when a program last read or wrote it, so that a later write can
// tell whether something else (a file-sync service, another machine, nibtool) changed it meanwhile.
#include <cstdint>
#include <string>

struct FileSignature {
    bool exists = false;
    std::uintmax_t size = 0;
    std::int64_t modified = 0;  // the file system's own time count
    std::uint64_t hash = 0;     // of the first and the last 64 KiB of the content
    bool operator==(const FileSignature&) const = default;
};

// The file as it is now; a missing or unreadable file has exists == false.
FileSignature file_signature(const std::string& path);
