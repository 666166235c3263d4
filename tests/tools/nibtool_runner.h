#pragma once
// Runs the real nibtool program and collects what it printed and its exit status.
#include "mapfile_test_support.h"

#include <cstdlib>
#include <string>
#include <vector>

struct ToolRun {
    int status = -1;
    std::string out;
    std::string err;
};

inline std::string quoted(const std::string& argument) {
#ifdef _WIN32
    return '"' + argument + '"';
#else
    std::string text = "'";
    for (char c : argument) text += c == '\'' ? std::string("'\\''") : std::string(1, c);
    return text + "'";
#endif
}

inline std::string nibtool_program() {
    std::string path = NIBTOOL_PATH;
#ifdef _WIN32
    // Cross-built on a POSIX host and run under Wine: the host path lies on drive Z.
    if (!path.empty() && path[0] == '/') path = "Z:" + path;
    for (char& c : path)
        if (c == '/') c = '\\';
#endif
    return path;
}

// Console output as the program meant it: Windows writes each line feed as CR LF.
inline std::string console_text(std::string text) {
#ifdef _WIN32
    std::string plain;
    for (std::size_t i = 0; i < text.size(); ++i)
        if (!(text[i] == '\r' && i + 1 < text.size() && text[i + 1] == '\n')) plain += text[i];
    text = plain;
#endif
    return text;
}

// Runs nibtool with the arguments; `input`, when given, is a file for standard input.
inline ToolRun run_nibtool_program(const ScratchFolder& folder, const std::vector<std::string>& arguments,
                                   const std::string& input = {}) {
    std::string command = quoted(nibtool_program());
    for (const std::string& argument : arguments) command += ' ' + quoted(argument);
    if (!input.empty()) command += " < " + quoted(input);
    const std::string out = folder.path("nibtool.out"), err = folder.path("nibtool.err");
    command += " > " + quoted(out) + " 2> " + quoted(err);
#ifdef _WIN32
    // cmd strips the outer quotes of a command that starts with one.
    command = '"' + command + '"';
#endif
    ToolRun run;
    const int result = std::system(command.c_str());
#ifdef _WIN32
    run.status = result;
#else
    run.status = WIFEXITED(result) ? WEXITSTATUS(result) : -1;
#endif
    run.out = console_text(read_bytes(out));
    run.err = console_text(read_bytes(err));
    std::filesystem::remove(out);
    std::filesystem::remove(err);
    return run;
}
