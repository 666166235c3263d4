// The core's system services on Linux and other POSIX systems, for the native build.
#include "support/platform.h"

#include <cerrno>
#include <cstdio>
#include <cstring>

#include <fcntl.h>
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

bool file_writable(const std::string& path) { return access(path.c_str(), W_OK) == 0; }

bool flush_to_disk(std::FILE* file) { return std::fflush(file) == 0 && fsync(fileno(file)) == 0; }

bool replace_file(const std::string& from, const std::string& to) {
    // The new file keeps the old one's permissions: a private pad must not become readable by all.
    struct stat old_file;
    if (stat(to.c_str(), &old_file) == 0) chmod(from.c_str(), old_file.st_mode & 07777);
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

unsigned long last_error_code() { return static_cast<unsigned long>(errno); }

std::string last_error_text() { return std::strerror(errno); }

}  // namespace platform
