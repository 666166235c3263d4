#pragma once
// A fresh directory under the system's temporary folder, removed with everything in it.
#include <string>

class TempDirectory {
public:
    TempDirectory();
    ~TempDirectory();
    TempDirectory(const TempDirectory&) = delete;
    TempDirectory& operator=(const TempDirectory&) = delete;

    // The directory's path with a trailing backslash.
    const std::string& path() const { return path_; }
    // Creates a file with the given name (and some text) in the directory; returns its path.
    std::string create_file(const std::string& name) const;

private:
    std::string path_;
};
