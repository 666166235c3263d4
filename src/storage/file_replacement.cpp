#include "storage/file_replacement.h"

#include "storage/file_faults.h"
#include "storage/mapfile.h"
#include "support/platform.h"
#include "support/texts.h"

#include <cerrno>
#include <cstdint>
#include <cstdlib>
#include <cstring>
#include <memory>

namespace {

std::string runtime_error_text() { return std::strerror(errno); }

[[noreturn]] void cannot_save(const std::string& target, int mode, const std::string& reason) {
    throw Mapfile::file_error(fill_message(texts.could_not_file, texts.save, target, reason), mode);
}

std::string::size_type last_separator(const std::string& path) {
    return path.find_last_of(platform::folder_separator() == '/' ? "/" : "/\\");
}

std::string folder_of(const std::string& path) {
    const std::string::size_type at = last_separator(path);
    return at == std::string::npos ? "." : at == 0 ? path.substr(0, 1) : path.substr(0, at);
}

std::string name_of(const std::string& path) {
    const std::string::size_type at = last_separator(path);
    return at == std::string::npos ? path : path.substr(at + 1);
}

// Tells apart the temporary files of pads of one name in the shared temporary folder.
std::string path_tag(const std::string& path) {
    std::uint32_t hash = 2166136261u;
    for (char c : path) hash = (hash ^ static_cast<unsigned char>(c)) * 16777619u;
    char text[9];
    std::snprintf(text, sizeof text, "%08x", hash);
    return text;
}

// Unique within the machine: the process id, and a counter for the saves of one process.
std::string temporary_suffix() {
    static unsigned long counter = 0;
    return std::to_string(platform::process_id()) + "-" + std::to_string(++counter);
}

// The file operations of a save, each first asking the test seam.
std::FILE* open_file(const std::string& path, const char* how) {
    return file_faults::operation_fails() ? nullptr : platform::open_file(path, how);
}

bool write_file(std::FILE* file, const char* data, std::size_t size) {
    const std::size_t taken = file_faults::writable(size);
    if (taken == 0 && size > 0) return false;
    const bool written = std::fwrite(data, 1, taken, file) == taken;
    if (written && taken < size) errno = ENOSPC;
    return written && taken == size;
}

bool flush_file(std::FILE* file) { return !file_faults::operation_fails() && platform::flush_to_disk(file); }

bool close_file(std::FILE* file) {
    // The file is closed either way; a failure the seam chose keeps its error.
    const bool failing = file_faults::operation_fails();
    const int error = errno;
    const bool closed = std::fclose(file) == 0;
    if (failing) errno = error;
    return closed && !failing;
}

bool cut_file(std::FILE* file, std::uint64_t size) {
    return !file_faults::operation_fails() && platform::truncate_file(file, size);
}

bool replace(const std::string& from, const std::string& to) {
    return !file_faults::operation_fails() && platform::replace_file(from, to);
}

bool refuses_new_files(int error) { return error == EACCES || error == EPERM; }

// Writes the file `from` over the open file `out`, cuts it there and pushes it to disk. Returns
// the reason of a failure, or nothing. `from` is closed again, so that it can be removed.
std::string copy_over(const std::string& from, std::FILE* out) {
    std::unique_ptr<std::FILE, int (*)(std::FILE*)> source(platform::open_file(from, "rb"), std::fclose);
    if (!source) return runtime_error_text();
    constexpr std::size_t chunk_size = 1024 * 1024;
    auto chunk = std::make_unique<char[]>(chunk_size);
    std::uint64_t size = 0;
    for (std::size_t got; (got = std::fread(chunk.get(), 1, chunk_size, source.get())) > 0; size += got)
        if (!write_file(out, chunk.get(), got)) return runtime_error_text();
    if (std::ferror(source.get())) return runtime_error_text();
    if (!cut_file(out, size) || !flush_file(out)) return platform::last_error_text();
    return {};
}

// Writes the old content back over a file that a failed save overwrote in part.
bool put_back(std::FILE* file, const std::string& old) {
    std::rewind(file);
    return std::fwrite(old.data(), 1, old.size(), file) == old.size() && platform::truncate_file(file, old.size()) &&
           platform::flush_to_disk(file);
}

std::string read_whole(const std::string& path, bool& read) {
    std::string content;
    read = false;
    std::FILE* in = platform::open_file(path, "rb");
    if (!in) return content;
    char chunk[64 * 1024];
    for (std::size_t got; (got = std::fread(chunk, 1, sizeof chunk, in)) > 0;) content.append(chunk, got);
    read = !std::ferror(in);
    std::fclose(in);
    return content;
}

}  // namespace

FileReplacement::FileReplacement(const std::string& target_, int mode_)
    : target(target_), real(platform::real_path(target_)), mode(mode_) {
    // A target that exists but may not be written stays refused, as if it were opened directly.
    bool exists = false;
    if (std::FILE* existing = platform::open_file(real, "r+b")) {
        std::fclose(existing);
        exists = true;
        // A privileged user may open a read-only file for writing; its read-only mark still holds.
        if (!platform::file_writable(real)) cannot_save(target, mode, std::strerror(EACCES));
    } else if (errno != ENOENT) {
        cannot_save(target, mode, runtime_error_text());
    }
    // Replacing a file with other names would part it from them: it is written in place.
    in_place = exists && platform::link_count(real) > 1;
    stale_prefix = real + ".tmp";
    temp_name = stale_prefix + temporary_suffix();
    file = open_file(temp_name, "wb");
    std::string reason;
    if (!file && exists && refuses_new_files(errno)) {
        // The folder refuses new files, but the file itself may be written. Should the temporary
        // folder fail too, the folder's refusal is what the user can do something about.
        reason = runtime_error_text();
        in_place = true;
        stale_prefix = platform::temporary_folder() + platform::folder_separator() + name_of(real) + "-" +
                       path_tag(real) + ".tmp";
        temp_name = stale_prefix + temporary_suffix();
        file = open_file(temp_name, "wb");
    }
    if (!file) {
        if (reason.empty()) reason = runtime_error_text();
        temp_name.clear();
        cannot_save(target, mode, reason);
    }
    // The caller buffers; the stream's buffer would copy every byte once more.
    std::setvbuf(file, nullptr, _IONBF, 0);
}

FileReplacement::~FileReplacement() { discard(); }

void FileReplacement::discard() {
    if (file) std::fclose(file);
    file = nullptr;
    if (!temp_name.empty()) platform::remove_file(temp_name);
    temp_name.clear();
}

void FileReplacement::fail(const std::string& reason) {
    discard();
    failure = reason;
    throw Mapfile::file_error(fill_message(texts.write_error, target, reason), mode);
}

void FileReplacement::write(const char* data, std::size_t size) {
    if (!file) fail(failure);
    if (!write_file(file, data, size)) fail(runtime_error_text());
}

void FileReplacement::commit() {
    if (!file) fail(failure);
    if (!flush_file(file)) fail(platform::last_error_text());
    std::FILE* closing = file;
    file = nullptr;
    if (!close_file(closing)) fail(runtime_error_text());
    if (in_place) {
        write_in_place();
    } else {
        platform::keep_owner_and_mode(real, temp_name);
        if (!replace(temp_name, real)) fail(platform::last_error_text());
        temp_name.clear();
    }
    remove_stale_temporaries();
}

void FileReplacement::write_in_place() {
    // The new content is whole on disk in the temporary file. The old one is kept in memory, so
    // that a failure while the target is overwritten can put it back.
    bool old_read = false;
    const std::string old = read_whole(real, old_read);
    if (!old_read) fail(runtime_error_text());
    std::FILE* out = open_file(real, "r+b");
    if (!out) fail(runtime_error_text());
    std::setvbuf(out, nullptr, _IONBF, 0);
    std::string reason = copy_over(temp_name, out);
    if (!reason.empty()) {
        const bool restored = put_back(out, old);
        std::fclose(out);
        give_up(restored, reason);
    }
    if (!close_file(out)) {
        reason = runtime_error_text();
        std::FILE* again = platform::open_file(real, "r+b");
        const bool restored = again && put_back(again, old);
        if (again) std::fclose(again);
        give_up(restored, reason);
    }
    platform::remove_file(temp_name);
    temp_name.clear();
}

void FileReplacement::give_up(bool restored, const std::string& reason) {
    // Should the old content not come back, the temporary file stays as the one whole copy of the new.
    if (!restored) temp_name.clear();
    fail(reason);
}

void FileReplacement::remove_stale_temporaries() const {
    // Left by saves that a crash or a failed restore interrupted: "<prefix><pid>-<n>". Those of a
    // process that still runs may belong to a save under way.
    const std::string folder = folder_of(stale_prefix), prefix = name_of(stale_prefix);
    for (const std::string& name : platform::folder_entries(folder)) {
        if (name.compare(0, prefix.size(), prefix) != 0) continue;
        const std::string suffix = name.substr(prefix.size());
        const std::string::size_type dash = suffix.find('-');
        if (dash == 0 || dash == std::string::npos || dash + 1 == suffix.size() ||
            suffix.find_first_not_of("0123456789-") != std::string::npos || suffix.find('-', dash + 1) != std::string::npos)
            continue;
        const unsigned long owner = std::strtoul(suffix.c_str(), nullptr, 10);
        if (owner == platform::process_id() || !platform::process_running(owner))
            platform::remove_file(folder + platform::folder_separator() + name);
    }
}
