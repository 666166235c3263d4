#pragma once
// Reads the records of a key/value file one after another, scanning large blocks of the file
// in memory: a pad of tens of megabytes must load at disk speed.
#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <memory>
#include <string>

class RecordReader {
public:
    enum class Result { record, end, malformed };

    // Takes over the open file and closes it when destroyed.
    explicit RecordReader(std::FILE* file);
    ~RecordReader();
    RecordReader(const RecordReader&) = delete;
    RecordReader& operator=(const RecordReader&) = delete;

    // The next record into `key` and `value`; `end` when only white space is left; `malformed`
    // when the bytes are not a record (also a record cut short by the end of the file, or a
    // read error).
    Result next(std::string& key, std::string& value);

private:
    // Refills the buffer, keeping nothing of what was consumed; false at the end or on an error.
    bool fill();
    int peek() { return pos < end || fill() ? static_cast<unsigned char>(buffer[pos]) : -1; }
    void skip_white();
    bool read_key(std::string& key);
    bool read_length(std::int64_t& length);
    bool read_value(std::size_t length, std::string& value);

    std::FILE* file;
    std::unique_ptr<char[]> buffer;
    std::size_t pos = 0;
    std::size_t end = 0;
};
