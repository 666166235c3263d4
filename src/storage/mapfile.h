#pragma once
// A file of named values, each an arbitrary run of bytes: the container under every pad file.
// On disk each record is `KEY (LENGTH): VALUE\n`, one after another, nothing else.
#include "storage/record_index.h"
#include "support/messages.h"

#include <cstdint>
#include <deque>
#include <memory>
#include <string>
#include <string_view>

class RecordReader;
class RecordWriter;

// The leading decimal number of a value as Mapfile::get_int reads it: blanks, a sign, digits,
// clamped to 32 bits; 0 when there is none.
std::int32_t leading_int(std::string_view value);

class Mapfile {
public:
    static constexpr int read = 0;    // read keys in any order
    static constexpr int write = 1;   // write a new file record by record
    static constexpr int update = 2;  // change keys of an existing file, then commit

    // A file that cannot be opened, read or written. The title says "open" for read mode, "save" otherwise.
    class file_error : public msg_exception {
    public:
        file_error(const std::string& text, int mode);
    };

    // The key is not in the file.
    class no_such_key : public msg_exception {
    public:
        explicit no_such_key(std::string_view key);
    };

    // Opens the file; throws file_error when it cannot. In read mode a file that cannot be
    // written shows the "Read only" notice first. In write mode the records go to a temporary
    // file beside the target, which close() puts in the target's place: until then the old
    // file stays as it was.
    Mapfile(const std::string& file_name, int mode);
    // Never writes: a writer that was not closed throws its temporary file away, and what
    // update mode did not commit is lost.
    ~Mapfile();
    Mapfile(const Mapfile&) = delete;
    Mapfile& operator=(const Mapfile&) = delete;

    // Read and update mode. Throw no_such_key when the file has no record of the key.
    std::string get(std::string_view key);
    // Read and update mode: the file's size when it was opened; 0 when the system cannot tell.
    std::uint64_t file_size() const;
    std::int32_t get_int(std::string_view key);   // leading decimal number of the value; 0 if none
    // Read mode, for a reader that takes every record in one pass: the next record in the order
    // of the file, from where reading stands, keeping none of them (a later get does not find
    // them); false at the end. The texts stay valid until the next call on this object, and
    // reading a large file so holds no more than a block of it in memory.
    bool next_record(std::string_view& key, std::string_view& value);
    double get_double(std::string_view key);      // leading floating-point number; 0 if none
    // Copies the value into `buffer` when it is not null and the value fits `size`; returns the
    // value's length either way. Adds no terminating zero.
    std::int32_t get_buffer(std::string_view key, char* buffer, std::uint32_t size);

    // Write mode appends a record (a second put of a key writes a second record); update mode
    // stores the value until commit.
    void put(std::string_view key, std::string_view value);
    void put_int(std::string_view key, std::int32_t value);
    void put_double(std::string_view key, double value);  // "%19f" text
    void put_buffer(std::string_view key, const char* data, std::int32_t length);

    // Update mode only.
    void remove(std::string_view key);
    // Rewrites the file from the cache, keys in ascending byte order; the old file is replaced
    // only once the new one is complete.
    void commit();

    // Write mode: flushes the records to disk and puts the new file in the target's place,
    // throwing file_error if any of that fails. Other modes: closes the file. Afterwards the
    // object accepts no further get or put.
    void close();

private:
    // The cached value, else reads on until the key's record, keeping every record it passes.
    std::string_view find(std::string_view key);
    std::string_view scan_for(std::string_view key);
    void require(bool allowed, const char* text) const;
    [[noreturn]] void raise_format_error() const;

    std::unique_ptr<RecordReader> reader;  // declared before the cache, which points into it
    // The keys and values that update mode put.
    std::deque<std::string> put_texts;
    // Keys and values point into the reader's blocks or into `put_texts`.
    RecordIndex cache;
    std::unique_ptr<RecordWriter> writer;
    std::string file_name;
    int mode;
    bool at_end = false;     // every record of the file is in the cache
    bool closed = false;
    bool malformed = false;  // the reader met bytes that are not a record; it cannot read on
};
