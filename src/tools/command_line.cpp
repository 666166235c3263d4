#include "tools/command_line.h"

#include "support/messages.h"
#include "support/texts.h"

#include <algorithm>

void raise_bad_arguments(const std::string& command) {
    throw msg_exception(fill_message(texts.tool_bad_arguments, command), texts.error, style_warning);
}

CommandLine parse_command_line(const std::string& command, const std::vector<std::string>& arguments,
                               const std::vector<std::string>& option_names, std::size_t word_count,
                               const std::vector<std::string>& flag_names) {
    const auto known = [](const std::vector<std::string>& names, const std::string& name) {
        return std::find(names.begin(), names.end(), name) != names.end();
    };
    CommandLine line;
    bool options_end = false;
    for (std::size_t i = 0; i < arguments.size(); ++i) {
        const std::string& argument = arguments[i];
        if (options_end || argument.size() < 2 || argument.compare(0, 2, "--") != 0) {
            line.words.push_back(argument);
            continue;
        }
        if (argument == "--") {
            options_end = true;
            continue;
        }
        if (argument == "--help") {
            line.help = true;
            continue;
        }
        std::string name = argument.substr(2), value;
        if (known(flag_names, name)) {
            line.flags.insert(name);
            continue;
        }
        const std::size_t equals = name.find('=');
        if (equals != std::string::npos) {
            value = name.substr(equals + 1);
            name.resize(equals);
        } else if (i + 1 < arguments.size()) {
            value = arguments[++i];
        } else {
            raise_bad_arguments(command);
        }
        if (!known(option_names, name)) raise_bad_arguments(command);
        line.options[name] = value;
    }
    if (!line.help && line.words.size() != word_count) raise_bad_arguments(command);
    return line;
}
