// The core's system services on Linux and other POSIX systems, for the native build.
#include "support/platform.h"

#include <array>
#include <cerrno>
#include <cstdio>
#include <cstdlib>
#include <cstring>

#include <dirent.h>
#include <fcntl.h>
#include <pthread.h>
#include <signal.h>
#include <sys/random.h>
#include <sys/stat.h>
#include <unistd.h>

namespace platform {

void message_box(void*, const std::string& text, const std::string& title, std::uint32_t) {
    std::fprintf(stderr, "%s: %s\n", title.c_str(), text.c_str());
}

char to_lower(char c) {
    // The Windows-1252 mapping, so that pads find the same nibs on every platform:
    // ASCII letters, the accented capitals 0xC0-0xDE except the multiplication sign 0xD7,
    // and the capitals 0x8A, 0x8C, 0x8E and 0x9F that sit in the 0x80 block.
    unsigned char u = static_cast<unsigned char>(c);
    if ((u >= 'A' && u <= 'Z') || (u >= 0xC0 && u <= 0xDE && u != 0xD7)) return static_cast<char>(u + 32);
    switch (u) {
    case 0x8A: return static_cast<char>(0x9A);
    case 0x8C: return static_cast<char>(0x9C);
    case 0x8E: return static_cast<char>(0x9E);
    case 0x9F: return static_cast<char>(0xFF);
    default: return c;
    }
}

std::FILE* open_file(const std::string& path, const char* how) { return std::fopen(path.c_str(), how); }

bool remove_file(const std::string& path) { return std::remove(path.c_str()) == 0; }

bool file_writable(const std::string& path) { return access(path.c_str(), W_OK) == 0; }

bool flush_to_disk(std::FILE* file) { return std::fflush(file) == 0 && fsync(fileno(file)) == 0; }

bool replace_file(const std::string& from, const std::string& to) {
    if (std::rename(from.c_str(), to.c_str()) != 0) return false;
    // The new name is durable only once the folder itself is on disk.
    std::string::size_type slash = to.rfind('/');
    std::string folder = slash == std::string::npos ? "." : slash == 0 ? "/" : to.substr(0, slash);
    int dir = open(folder.c_str(), O_RDONLY | O_DIRECTORY);
    if (dir >= 0) {
        fsync(dir);
        ::close(dir);
    }
    return true;
}

std::string real_path(const std::string& path) {
    std::string resolved = path;
    // A chain of links, each relative to the folder of the link; a loop ends after as many steps
    // as the system itself follows.
    for (int step = 0; step < 40; ++step) {
        char target[4096];
        const ssize_t length = readlink(resolved.c_str(), target, sizeof target);
        if (length < 0 || length == static_cast<ssize_t>(sizeof target)) return resolved;
        std::string next(target, static_cast<std::size_t>(length));
        const std::string::size_type slash = resolved.rfind('/');
        if (next[0] != '/' && slash != std::string::npos) next = resolved.substr(0, slash + 1) + next;
        resolved = next;
    }
    return path;
}

unsigned long link_count(const std::string& path) {
    struct stat info;
    return stat(path.c_str(), &info) == 0 ? static_cast<unsigned long>(info.st_nlink) : 1;
}

void keep_owner_and_mode(const std::string& original, const std::string& copy) {
    struct stat old_file;
    if (stat(original.c_str(), &old_file) != 0) return;
    // Another owner only for a privileged user, and a group only one this user belongs to; the mode
    // comes last, as a change of owner clears the set-id bits. A private pad stays private.
    if (chown(copy.c_str(), old_file.st_uid, old_file.st_gid) != 0) (void)!chown(copy.c_str(), static_cast<uid_t>(-1), old_file.st_gid);
    chmod(copy.c_str(), old_file.st_mode & 07777);
}

bool truncate_file(std::FILE* file, std::uint64_t size) { return ftruncate(fileno(file), static_cast<off_t>(size)) == 0; }

std::string temporary_folder() {
    const char* folder = std::getenv("TMPDIR");
    std::string path = folder && *folder ? folder : "/tmp";
    while (path.size() > 1 && path.back() == '/') path.pop_back();
    return path;
}

std::vector<std::string> folder_entries(const std::string& folder) {
    std::vector<std::string> names;
    DIR* listing = opendir(folder.c_str());
    if (!listing) return names;
    while (dirent* entry = readdir(listing)) {
        const std::string name = entry->d_name;
        if (name != "." && name != "..") names.push_back(name);
    }
    closedir(listing);
    return names;
}

char folder_separator() { return '/'; }

bool process_running(unsigned long id) { return kill(static_cast<pid_t>(id), 0) == 0 || errno == EPERM; }

void set_file_error(FileError error) {
    errno = error == FileError::disk_full ? ENOSPC : error == FileError::access_denied ? EACCES : EIO;
}

namespace {

// Random bytes from the system a block at a time: an import makes an id per nib, and a system
// call for each cost more than the rest of the nib. Each byte is handed out once.
thread_local std::uint8_t random_pool[4096];
thread_local std::size_t random_left = 0;

// A forked child must not hand out the bytes its parent will hand out too.
void forget_random_pool() { random_left = 0; }

bool random_bytes(std::uint8_t* out, std::size_t count) {
    static const bool fork_guarded = pthread_atfork(nullptr, nullptr, forget_random_pool) == 0;
    if (!fork_guarded) return getrandom(out, count, 0) == static_cast<ssize_t>(count);
    if (random_left < count) {
        const ssize_t got = getrandom(random_pool, sizeof random_pool, 0);
        if (got < static_cast<ssize_t>(count)) return false;
        random_left = static_cast<std::size_t>(got);
    }
    random_left -= count;
    std::memcpy(out, random_pool + random_left, count);
    return true;
}

}  // namespace

bool create_uuid(Uuid& id) {
    // A random version-4 id from the system's random source.
    std::uint8_t bytes[16];
    if (!random_bytes(bytes, sizeof bytes)) return false;
    id.data1 = (std::uint32_t{bytes[0]} << 24) | (std::uint32_t{bytes[1]} << 16) | (std::uint32_t{bytes[2]} << 8) | bytes[3];
    id.data2 = static_cast<std::uint16_t>((bytes[4] << 8) | bytes[5]);
    id.data3 = static_cast<std::uint16_t>(((bytes[6] << 8) | bytes[7]) & 0x0FFF) | 0x4000;
    std::memcpy(id.data4, bytes + 8, 8);
    id.data4[0] = static_cast<std::uint8_t>((id.data4[0] & 0x3F) | 0x80);
    return true;
}

bool uuid_to_text(const Uuid& id, std::string& text) {
    // Written digit by digit rather than formatted: saving a pad writes one id per nib.
    const std::uint8_t bytes[16] = {static_cast<std::uint8_t>(id.data1 >> 24), static_cast<std::uint8_t>(id.data1 >> 16),
                                    static_cast<std::uint8_t>(id.data1 >> 8),  static_cast<std::uint8_t>(id.data1),
                                    static_cast<std::uint8_t>(id.data2 >> 8),  static_cast<std::uint8_t>(id.data2),
                                    static_cast<std::uint8_t>(id.data3 >> 8),  static_cast<std::uint8_t>(id.data3),
                                    id.data4[0], id.data4[1], id.data4[2], id.data4[3],
                                    id.data4[4], id.data4[5], id.data4[6], id.data4[7]};
    static constexpr char digits[] = "0123456789abcdef";
    text.assign(36, '-');
    std::size_t at = 0;
    for (int i = 0; i < 16; ++i) {
        if (at == 8 || at == 13 || at == 18 || at == 23) ++at;
        text[at++] = digits[bytes[i] >> 4];
        text[at++] = digits[bytes[i] & 0x0F];
    }
    return true;
}

bool uuid_from_text(const std::string& text, Uuid& id) {
    // Where each byte's two digits stand; a loaded pad parses one id per nib.
    static constexpr std::uint8_t digit_pairs[16] = {0, 2, 4, 6, 9, 11, 14, 16, 19, 21, 24, 26, 28, 30, 32, 34};
    static const std::array<std::int8_t, 256> nibbles = [] {
        std::array<std::int8_t, 256> values;
        values.fill(-1);
        for (int c = 0; c < 10; ++c) values['0' + c] = static_cast<std::int8_t>(c);
        for (int c = 0; c < 6; ++c) values['a' + c] = values['A' + c] = static_cast<std::int8_t>(10 + c);
        return values;
    }();
    if (text.size() != 36 || text[8] != '-' || text[13] != '-' || text[18] != '-' || text[23] != '-') return false;
    std::uint8_t bytes[16];
    for (int i = 0; i < 16; ++i) {
        const int high = nibbles[static_cast<unsigned char>(text[digit_pairs[i]])];
        const int low = nibbles[static_cast<unsigned char>(text[digit_pairs[i] + 1])];
        if ((high | low) < 0) return false;
        bytes[i] = static_cast<std::uint8_t>(high * 16 + low);
    }
    id.data1 = (std::uint32_t{bytes[0]} << 24) | (std::uint32_t{bytes[1]} << 16) | (std::uint32_t{bytes[2]} << 8) | bytes[3];
    id.data2 = static_cast<std::uint16_t>((bytes[4] << 8) | bytes[5]);
    id.data3 = static_cast<std::uint16_t>((bytes[6] << 8) | bytes[7]);
    std::memcpy(id.data4, bytes + 8, 8);
    return true;
}

int uuid_compare(const Uuid& a, const Uuid& b) {
    if (a.data1 != b.data1) return a.data1 < b.data1 ? -1 : 1;
    if (a.data2 != b.data2) return a.data2 < b.data2 ? -1 : 1;
    if (a.data3 != b.data3) return a.data3 < b.data3 ? -1 : 1;
    int order = std::memcmp(a.data4, b.data4, sizeof a.data4);
    return order < 0 ? -1 : order > 0 ? 1 : 0;
}

void mix_root_listing(Uuid& id) {
    DIR* root = opendir("/");
    if (!root) return;
    std::uint8_t bytes[sizeof(Uuid)];
    std::memcpy(bytes, &id, sizeof bytes);
    std::uint32_t position = 0;
    auto mix = [&](std::uint8_t value) { bytes[++position % sizeof bytes] ^= value; };
    while (dirent* entry = readdir(root)) {
        std::string path = std::string("/") + entry->d_name;
        struct stat info {};
        lstat(path.c_str(), &info);
        mix(static_cast<std::uint8_t>(info.st_ctime));
        mix(static_cast<std::uint8_t>(info.st_atime));
        mix(static_cast<std::uint8_t>(info.st_mtime));
        mix(static_cast<std::uint8_t>(info.st_size));
        for (const char* c = entry->d_name; *c; ++c) mix(static_cast<std::uint8_t>(*c));
        position += static_cast<std::uint32_t>(info.st_mtime);
    }
    closedir(root);
    std::memcpy(&id, bytes, sizeof bytes);
}

unsigned long process_id() { return static_cast<unsigned long>(getpid()); }

unsigned long last_error_code() { return static_cast<unsigned long>(errno); }

std::string last_error_text() { return std::strerror(errno); }

}  // namespace platform
