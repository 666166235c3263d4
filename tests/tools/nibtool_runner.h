#pragma once
// Runs the real nibtool program and collects what it printed and its exit status.
#include "mapfile_test_support.h"

#include <cstdlib>
#include <string>
#include <vector>

#ifndef _WIN32
#include <sys/wait.h>
#endif

struct ToolRun {
    int status = -1;
    std::string out, err;
};

inline std::string shell_quoted(const std::string& argument) {
#ifdef _WIN32
    return '"' + argument + '"';
#else
    std::string text = "'";
    for (char c : argument) text += c == '\'' ? std::string("'\\''") : std::string(1, c);
    return text + "'";
#endif
}

// Console output as the program meant it: Windows writes each line feed as CR LF.
inline std::string console_text(const std::string& text) {
    std::string plain;
    for (std::size_t i = 0; i < text.size(); ++i)
#ifdef _WIN32
        if (!(text[i] == '\r' && i + 1 < text.size() && text[i + 1] == '\n'))
#endif
            plain += text[i];
    return plain;
}

// Runs nibtool with the arguments; `input`, when given, is a file for standard input.
inline ToolRun run_nibtool_program(const ScratchFolder& folder, const std::vector<std::string>& arguments,
                                   const std::string& input = {}) {
    std::string program = NIBTOOL_PATH;
#ifdef _WIN32
    // Cross-built on a POSIX host and run under Wine: the host path lies on drive Z.
    if (!program.empty() && program[0] == '/') program = "Z:" + program;
    std::replace(program.begin(), program.end(), '/', '\\');
#endif
    std::string command = shell_quoted(program);
    for (const std::string& argument : arguments) command += ' ' + shell_quoted(argument);
    if (!input.empty()) command += " < " + shell_quoted(input);
    const std::string out = folder.path("nibtool.out"), err = folder.path("nibtool.err");
    command += " > " + shell_quoted(out) + " 2> " + shell_quoted(err);
#ifdef _WIN32
    command = '"' + command + '"';  // cmd strips the outer quotes of a command that starts with one
#endif
    const int result = std::system(command.c_str());
    ToolRun run;
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
