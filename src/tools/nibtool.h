#pragma once
// nibtool: reads and changes pad files from the command line, for pads kept in synced folders,
// in git or in scripts.
#include "support/messages.h"
#include "tools/terminal.h"

#include <iosfwd>
#include <string>
#include <vector>

// Runs one command (`arguments` without the program name). Results go to `out`; errors and
// notices print their title and text to `err`, and an error gives the status 1. Standard input
// serves "add PAD -".
int run_nibtool(const std::vector<std::string>& arguments, std::istream& in, std::ostream& out, std::ostream& err,
                const Terminal& terminal = {});

// "TITLE: TEXT" on a line of its own.
void print_error(std::ostream& err, const msg_exception& error);
