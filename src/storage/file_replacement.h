#pragma once
// Writes a new version of a file so that no failure loses the old one. The new content goes into
// a temporary file, which replaces the file the path leads to (links followed) once it is complete
// and on disk; the replacement keeps the old file's mode, owner and group where allowed. A file
// with other hard links, or in a folder that refuses new files, is instead written in place, but
// only once the complete new content is safe on disk beside it or in the temporary folder.
#include <cstddef>
#include <cstdio>
#include <string>

class FileReplacement {
public:
    // Creates the temporary file; throws Mapfile::file_error ("Could not save file ...") when the
    // target may not be written or no temporary file can be made. `mode` is the Mapfile's; messages
    // name `target` as given.
    FileReplacement(const std::string& target, int mode);
    // Without commit() the temporary file is removed and the target stays as it was.
    ~FileReplacement();
    FileReplacement(const FileReplacement&) = delete;
    FileReplacement& operator=(const FileReplacement&) = delete;

    // Appends to the new content. Throws Mapfile::file_error; after a failure every call fails.
    void write(const char* data, std::size_t size);
    // Throws the earlier failure again, if there was one.
    void check() {
        if (!file) fail(failure);
    }
    // Puts the new content in the target's place and removes temporary files that earlier,
    // interrupted saves of the file left. Throws Mapfile::file_error, the target then as it was.
    void commit();

private:
    void write_in_place();
    [[noreturn]] void give_up(bool restored, const std::string& reason);
    void remove_stale_temporaries() const;
    void discard();
    [[noreturn]] void fail(const std::string& reason);

    std::string target;      // as the caller named it
    std::string real;        // the file that it leads to
    std::string temp_name;
    std::string stale_prefix;  // the start of the names of this file's temporary files, with its folder
    int mode;
    bool in_place = false;
    std::FILE* file = nullptr;
    std::string failure;  // the reason of an earlier failure
};
