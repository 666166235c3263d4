#pragma once
// The check command: reads a whole pad file and lists what is wrong with it.
#include <string>
#include <vector>

struct PadCheck {
    std::vector<std::string> problems;  // one message per problem, naming the file
    int nibs = 0;
    int deletions = 0;
};

// Throws the file's msg_exception when the file cannot be opened; everything that would stop the
// load, load wrongly or lose data is listed as a problem, up to the first that stops the reading.
PadCheck check_pad_file(const std::string& path);
