#include "storage/record_writer.h"

#include <charconv>
#include <cstring>

namespace {

constexpr std::size_t buffer_size = 1024 * 1024;

}  // namespace

RecordWriter::RecordWriter(const std::string& target, int mode) : output(target, mode), buffer(new char[buffer_size]) {}

void RecordWriter::flush_buffer() {
    if (used > 0) output.write(buffer.get(), used);
    used = 0;
}

void RecordWriter::append(const char* data, std::size_t size) {
    if (size == 0) return;  // an empty value may come without any bytes behind it
    if (size > buffer_size - used) {
        flush_buffer();
        if (size >= buffer_size) {
            output.write(data, size);
            return;
        }
    }
    std::memcpy(buffer.get() + used, data, size);
    used += size;
}

void RecordWriter::write_record(std::string_view key, std::string_view value) {
    output.check();
    char head[32] = " (";
    char* head_end = std::to_chars(head + 2, head + sizeof head, value.size()).ptr;
    *head_end++ = ')';
    *head_end++ = ':';
    *head_end++ = ' ';
    append(key.data(), key.size());
    append(head, static_cast<std::size_t>(head_end - head));
    append(value.data(), value.size());
    append("\n", 1);
}

void RecordWriter::finish() {
    flush_buffer();
    output.commit();
}
