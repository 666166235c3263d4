#pragma once
// Writes the records of a key/value file as a new version of the file (see FileReplacement):
// until finish() has put it in place, the old file is untouched.
#include "storage/file_replacement.h"

#include <cstddef>
#include <memory>
#include <string>
#include <string_view>

class RecordWriter {
public:
    // Starts the new version; throws Mapfile::file_error ("Could not save file ...") when the
    // target cannot be written. `mode` is the Mapfile's.
    RecordWriter(const std::string& target, int mode);
    RecordWriter(const RecordWriter&) = delete;
    RecordWriter& operator=(const RecordWriter&) = delete;

    // Appends `KEY (LENGTH): VALUE\n`. Throws Mapfile::file_error when writing fails.
    void write_record(std::string_view key, std::string_view value);
    // Writes out what is buffered, pushes it to disk and replaces the target. Throws
    // Mapfile::file_error on any failure, after which the target is still the old file.
    void finish();

private:
    void append(const char* data, std::size_t size);
    void flush_buffer();

    FileReplacement output;
    std::unique_ptr<char[]> buffer;
    std::size_t used = 0;
};
