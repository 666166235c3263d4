// nibtool as a program on a POSIX terminal: the encoding comes from the locale, and the progress
// line shows on a terminal only.
#include "mapfile_test_support.h"

#include <gtest/gtest.h>

#include <fcntl.h>
#include <pty.h>
#include <sys/wait.h>
#include <unistd.h>

namespace {

struct ProgramRun {
    int status = -1;
    std::string out, err;
};

// Runs the built nibtool with LC_ALL set to `locale`; standard output goes to a file, standard
// error to a pseudo-terminal when `error_on_terminal`, else to a file too.
ProgramRun run_program(const ScratchFolder& folder, std::vector<std::string> arguments, const char* locale,
                       bool error_on_terminal = false) {
    arguments.insert(arguments.begin(), NIBTOOL_PATH);
    std::vector<char*> argv;
    for (std::string& argument : arguments) argv.push_back(argument.data());
    argv.push_back(nullptr);
    const std::string out_path = folder.path("stdout"), err_path = folder.path("stderr");
    int terminal = -1, terminal_end = -1;
    if (error_on_terminal && openpty(&terminal, &terminal_end, nullptr, nullptr, nullptr) != 0) return {};
    const pid_t child = fork();
    if (child == 0) {
        dup2(open(out_path.c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0600), 1);
        dup2(error_on_terminal ? terminal_end : open(err_path.c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0600), 2);
        setenv("LC_ALL", locale, 1);
        execv(argv[0], argv.data());
        _exit(127);
    }
    ProgramRun run;
    if (error_on_terminal) {
        close(terminal_end);
        char buffer[4096];
        // Ends with an error once the program has ended and the terminal has no writer left.
        for (ssize_t size; (size = read(terminal, buffer, sizeof buffer)) > 0;) run.err.append(buffer, size);
        close(terminal);
    }
    int status = 0;
    waitpid(child, &status, 0);
    run.status = WIFEXITED(status) ? WEXITSTATUS(status) : -1;
    run.out = read_bytes(out_path);
    if (!error_on_terminal) run.err = read_bytes(err_path);
    return run;
}

}  // namespace

TEST(NibtoolOnATerminal, TheLocaleSaysWhetherTextIsConverted) {
    ScratchFolder folder;
    const std::string pad = folder.path("notes.nib");
    ASSERT_EQ(run_program(folder, {"add", pad, "Z\xC3\xBCrich"}, "C.UTF-8").status, 0);
    const ProgramRun found = run_program(folder, {"find", pad, "z\xC3\xBCrich"}, "C.UTF-8");
    EXPECT_TRUE(found.out.ends_with("\tZ\xC3\xBCrich\n")) << found.out;
    // Another encoding: bytes as they are, in and out.
    EXPECT_TRUE(run_program(folder, {"list", pad}, "C").out.ends_with("\tZ\xFCrich\n"));
    EXPECT_EQ(run_program(folder, {"find", pad, "z\xC3\xBCrich"}, "C").out, "");
}

TEST(NibtoolOnATerminal, LongJobsShowProgressOnATerminalOnly) {
    ScratchFolder folder;
    std::string text;
    while (text.size() <= 200000) text += "a note of some length\r\n\r\n------------------------------\r\n\r\n";
    write_bytes(folder.path("notes.txt"), text);
    const std::string pad = folder.path("big.nib"), copy = folder.path("copy.nib");

    ProgramRun run = run_program(folder, {"import", pad, folder.path("notes.txt")}, "C.UTF-8", true);
    ASSERT_EQ(run.status, 0);
    for (const char* step : {"\rReading big.nib...", "\rImporting... 0%", "\rImporting... 5", "\rWriting big.nib..."})
        EXPECT_TRUE(run.err.find(step) != std::string::npos) << step << " in " << run.err;
    // Cleared at the end: nothing stays on the terminal.
    EXPECT_TRUE(run.err.ends_with("   \r")) << run.err;
    EXPECT_EQ(run.err.find('\n'), std::string::npos);

    std::filesystem::copy_file(pad, copy);
    run = run_program(folder, {"sync", pad, copy}, "C.UTF-8", true);
    EXPECT_TRUE(run.err.find("\rReading copy.nib...") != std::string::npos && run.err.find("\rSynchronising...") != std::string::npos)
        << run.err;
    for (const char* job : {"import", "export"}) {
        run = run_program(folder, {job, pad, folder.path("notes.txt")}, "C.UTF-8");
        EXPECT_EQ(run.status, 0);
        EXPECT_EQ(run.err, "") << job;
    }
}
