#pragma once
// Reads the records of a key/value file one after another, scanning large blocks of the file
// in memory: a pad of tens of megabytes must load at disk speed.
#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <deque>
#include <memory>
#include <string>
#include <string_view>
#include <vector>

class RecordReader {
public:
    enum class Result { record, end, malformed };

    // Takes over the open file and closes it when destroyed.
    explicit RecordReader(std::FILE* file);
    ~RecordReader();
    RecordReader(const RecordReader&) = delete;
    RecordReader& operator=(const RecordReader&) = delete;

    // The next record into `key` and `value`; `end` when only white space is left, or a record
    // head that the end of the file cuts off before its length; `malformed` when the bytes are
    // not a record (also a length that runs past the end of the file, or a read error). `key` and `value` stay valid until the next call, or, after keep(), as long as
    // the reader, even after close().
    Result next(std::string_view& key, std::string_view& value);
    // Keeps the record that next() returned last.
    void keep() { block_kept = true; }
    // Closes the file; the values read so far stay.
    void close();
    // The file's size when it was opened; 0 when the system could not tell.
    std::uint64_t file_size() const { return size; }

private:
    // Reads the next block; false at the end or on an error.
    bool fill();
    // Between records in a block whose records were not kept: moves the rest of the block to its
    // start and fills the space behind it from the file, so that a record head never straddles
    // two blocks and one block serves a whole file read once.
    void top_up();
    int peek() { return pos < end || fill() ? static_cast<unsigned char>(block[pos]) : -1; }
    void skip_white();
    bool read_key(std::string_view& key);
    bool read_length(std::int64_t& length);
    bool read_value(std::size_t length, std::string_view& value);
    // `end` when the file ended inside a record head, else `malformed`.
    Result cut_off();

    std::FILE* file;
    // Every block that holds a kept record stays: its key and value point into it. A block of
    // records not kept is read over, so that a file read once holds no more than a block in
    // memory. A value that spans blocks is copied into a spill string of its own, and so is a key.
    std::vector<std::unique_ptr<char[]>> blocks;
    std::deque<std::string> spills;
    char* block = nullptr;
    bool block_kept = false;
    // Only between records may the block be read over: the record being read may lie in it.
    bool between_records = false;
    std::size_t pos = 0;
    std::size_t end = 0;
    std::uint64_t size = 0;
};
