#pragma once
// Writes the records of a key/value file into a temporary file beside the target and puts it in
// the target's place only once it is complete and on disk. Until then the old file is untouched.
#include <cstddef>
#include <cstdio>
#include <memory>
#include <string>
#include <string_view>

class RecordWriter {
public:
    // Creates the temporary file; throws Mapfile::file_error ("Could not save file ...") when the
    // target cannot be written or the temporary file cannot be created. `mode` is the Mapfile's.
    RecordWriter(const std::string& target, int mode);
    // Without finish() the temporary file is removed and the target stays as it was.
    ~RecordWriter();
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
    void discard();
    [[noreturn]] void fail(const std::string& reason);

    std::string target;
    std::string temp_name;
    int mode;
    std::FILE* file = nullptr;
    std::unique_ptr<char[]> buffer;
    std::size_t used = 0;
    std::string failure;  // the reason of an earlier failure: the file is gone, later writes fail too
};
