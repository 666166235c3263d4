#pragma once
// The commands of nibtool, each taking the arguments after its name. They throw msg_exception
// on failure and return the exit status otherwise.
#include <iosfwd>
#include <string>
#include <vector>

using Arguments = std::vector<std::string>;

int list_command(const Arguments& arguments, std::ostream& out);
int find_command(const Arguments& arguments, std::ostream& out);
int add_command(const Arguments& arguments, std::istream& in, std::ostream& out);
int import_command(const Arguments& arguments, std::ostream& out);
int export_command(const Arguments& arguments, std::ostream& out);
int sync_command(const Arguments& arguments, std::ostream& out);
int merge_command(const Arguments& arguments, std::ostream& out);
int check_command(const Arguments& arguments, std::ostream& out);
