#pragma once
// nibtool: reads and changes pad files from the command line, for pads kept in synced folders,
// in git or in scripts.
#include <iosfwd>
#include <string>
#include <vector>

// Runs one command (`arguments` without the program name). Results go to `out`; errors print
// their title and text to `err` and give the status 1. Standard input serves "add PAD -".
int run_nibtool(const std::vector<std::string>& arguments, std::istream& in, std::ostream& out, std::ostream& err);
