#include "temp_directory.h"

#include <windows.h>

#include <filesystem>
#include <fstream>
#include <string>

TempDirectory::TempDirectory() {
    char base[MAX_PATH + 1] = {};
    GetTempPathA(sizeof base, base);
    static int counter = 0;
    for (;;) {
        path_ = std::string(base) + "scrivel test " + std::to_string(GetCurrentProcessId()) + "-" +
                std::to_string(++counter) + "\\";
        if (CreateDirectoryA(path_.c_str(), nullptr)) break;
    }
}

TempDirectory::~TempDirectory() {
    std::error_code ignored;
    std::filesystem::remove_all(path_, ignored);
}

std::string TempDirectory::create_file(const std::string& name) const {
    std::string file = path_ + name;
    std::ofstream(file) << "text\n";
    return file;
}
