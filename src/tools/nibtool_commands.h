#pragma once
// The commands of nibtool, each taking the arguments after its name. They throw msg_exception
// on failure and return the exit status otherwise. Long jobs show their progress on `err`.
#include "tools/terminal.h"

#include <iosfwd>
#include <string>
#include <vector>

using Arguments = std::vector<std::string>;

int list_command(const Arguments& arguments, std::ostream& out, const Terminal& terminal);
int find_command(const Arguments& arguments, std::ostream& out, const Terminal& terminal);
int add_command(const Arguments& arguments, std::istream& in, std::ostream& out, const Terminal& terminal);
int import_command(const Arguments& arguments, std::ostream& out, std::ostream& err, const Terminal& terminal);
int export_command(const Arguments& arguments, std::ostream& out, std::ostream& err, const Terminal& terminal);
int sync_command(const Arguments& arguments, std::ostream& out, std::ostream& err, const Terminal& terminal);
int merge_command(const Arguments& arguments, std::ostream& out, std::ostream& err, const Terminal& terminal);
int check_command(const Arguments& arguments, std::ostream& out);
