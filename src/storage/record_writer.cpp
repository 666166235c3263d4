#include "storage/record_writer.h"

#include "storage/mapfile.h"
#include "support/platform.h"
#include "support/texts.h"

#include <cerrno>
#include <charconv>
#include <cstring>

namespace {

constexpr std::size_t buffer_size = 1024 * 1024;

std::string runtime_error_text() { return std::strerror(errno); }

// Unique within the machine: the process id, and a counter for the saves of one process.
std::string temporary_name_for(const std::string& target) {
    static unsigned long counter = 0;
    return target + ".tmp" + std::to_string(platform::process_id()) + "-" + std::to_string(++counter);
}

[[noreturn]] void cannot_save(const std::string& target, int mode, const std::string& reason) {
    throw Mapfile::file_error(fill_message(texts.could_not_file, texts.save, target, reason), mode);
}

}  // namespace

RecordWriter::RecordWriter(const std::string& target_, int mode_)
    : target(target_), temp_name(temporary_name_for(target_)), mode(mode_), buffer(new char[buffer_size]) {
    // A target that exists but may not be written stays refused, as if it were opened directly.
    if (std::FILE* existing = std::fopen(target.c_str(), "r+b")) {
        std::fclose(existing);
        // A privileged user may open a read-only file for writing; its read-only mark still holds.
        if (!platform::file_writable(target)) cannot_save(target, mode, std::strerror(EACCES));
    } else if (errno != ENOENT) {
        cannot_save(target, mode, runtime_error_text());
    }
    file = std::fopen(temp_name.c_str(), "wb");
    if (!file) cannot_save(target, mode, runtime_error_text());
    // Our own buffer is the only one; the stream's would copy every byte once more.
    std::setvbuf(file, nullptr, _IONBF, 0);
}

RecordWriter::~RecordWriter() { discard(); }

void RecordWriter::discard() {
    if (file) std::fclose(file);
    file = nullptr;
    if (!temp_name.empty()) std::remove(temp_name.c_str());
    temp_name.clear();
}

void RecordWriter::fail(const std::string& reason) {
    discard();
    failure = reason;
    throw Mapfile::file_error(fill_message(texts.write_error, target, reason), mode);
}

void RecordWriter::flush_buffer() {
    if (used > 0 && std::fwrite(buffer.get(), 1, used, file) != used) fail(runtime_error_text());
    used = 0;
}

void RecordWriter::append(const char* data, std::size_t size) {
    if (size == 0) return;  // an empty value may come without any bytes behind it
    if (size > buffer_size - used) {
        flush_buffer();
        if (size >= buffer_size) {
            if (std::fwrite(data, 1, size, file) != size) fail(runtime_error_text());
            return;
        }
    }
    std::memcpy(buffer.get() + used, data, size);
    used += size;
}

void RecordWriter::write_record(std::string_view key, std::string_view value) {
    if (!file) fail(failure);
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
    if (!file) fail(failure);
    flush_buffer();
    if (!platform::flush_to_disk(file)) fail(platform::last_error_text());
    int closed = std::fclose(file);
    file = nullptr;
    if (closed != 0) fail(runtime_error_text());
    if (!platform::replace_file(temp_name, target)) fail(platform::last_error_text());
    temp_name.clear();
}
