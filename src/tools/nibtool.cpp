#include "tools/nibtool.h"

#include "support/messages.h"
#include "support/texts.h"
#include "tools/nibtool_commands.h"

#include <functional>
#include <map>
#include <ostream>

void print_error(std::ostream& err, const msg_exception& error) {
    err << error.title << ": " << error.text;
    if (error.text.empty() || error.text.back() != '\n') err << '\n';
}

int run_nibtool(const std::vector<std::string>& arguments, std::istream& in, std::ostream& out, std::ostream& err,
                const Terminal& terminal) {
    // nibtool has no screen: notices such as "Read only" go to standard error.
    MessageSink previous = set_message_sink(
        [&err](void*, const std::string& text, const std::string& title, std::uint32_t) {
            err << title << ": " << text << '\n';
        });
    struct RestoreSink {
        MessageSink sink;
        ~RestoreSink() { set_message_sink(std::move(sink)); }
    } restore{std::move(previous)};

    const std::map<std::string, std::function<int(const Arguments&)>> commands = {
        {"list", [&](const Arguments& a) { return list_command(a, out, terminal); }},
        {"find", [&](const Arguments& a) { return find_command(a, out, terminal); }},
        {"add", [&](const Arguments& a) { return add_command(a, in, out, terminal); }},
        {"import", [&](const Arguments& a) { return import_command(a, out, err, terminal); }},
        {"export", [&](const Arguments& a) { return export_command(a, out, err, terminal); }},
        {"sync", [&](const Arguments& a) { return sync_command(a, out, err, terminal); }},
        {"merge", [&](const Arguments& a) { return merge_command(a, out, err, terminal); }},
        {"check", [&](const Arguments& a) { return check_command(a, out); }},
    };

    try {
        if (arguments.empty()) {
            err << texts.tool_usage;
            return 1;
        }
        const std::string& name = arguments[0];
        if (name == "--help" || name == "-h" || name == "help") {
            out << texts.tool_usage;
            return 0;
        }
        auto command = commands.find(name);
        if (command == commands.end())
            throw msg_exception(fill_message(texts.tool_unknown_command, name), texts.error, style_warning);
        return command->second(Arguments(arguments.begin() + 1, arguments.end()));
    } catch (const silent_exception&) {
        return 1;
    } catch (const msg_exception& error) {
        print_error(err, error);
        return 1;
    } catch (const std::bad_alloc&) {
        err << texts.low_memory << ": " << texts.out_of_memory << '\n';
        return 1;
    }
}
