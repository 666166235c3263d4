#pragma once
// The arguments of one nibtool command: words in order and the named options it allows.
#include <map>
#include <set>
#include <string>
#include <vector>

struct CommandLine {
    std::vector<std::string> words;
    std::map<std::string, std::string> options;  // "--separator S" or "--separator=S", by name without dashes
    std::set<std::string> flags;                  // "--json": options without a value
    bool help = false;

    std::string option(const std::string& name, const std::string& otherwise) const {
        auto found = options.find(name);
        return found == options.end() ? otherwise : found->second;
    }
};

// Splits the arguments after the command's name. "--" ends the options, so that a word may begin
// with a dash. Throws the "Wrong arguments" message for an option the command does not know, an
// option without its value, a flag with one, or a word count other than `word_count`.
CommandLine parse_command_line(const std::string& command, const std::vector<std::string>& arguments,
                               const std::vector<std::string>& option_names, std::size_t word_count,
                               const std::vector<std::string>& flag_names = {});

// Throws the "Wrong arguments" message of the command.
[[noreturn]] void raise_bad_arguments(const std::string& command);
