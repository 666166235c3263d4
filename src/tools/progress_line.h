#pragma once
// The progress of a long job on one line of standard error ("Importing... 42%"), rewritten in
// place and cleared when the job ends, so that the terminal keeps only the job's real output.
#include "storage/import_progress.h"

#include <cstdint>
#include <iosfwd>
#include <string>

// Jobs on fewer bytes than the import's own threshold finish too fast to need a line.
inline constexpr std::uintmax_t progress_threshold = import_progress_threshold;

class ProgressLine final : public ImportProgress {
public:
    // Writes nothing unless `shown`: standard error is a terminal and the job is long.
    ProgressLine(std::ostream& err, bool shown) : err(err), shown(shown) {}
    ~ProgressLine() override;
    ProgressLine(const ProgressLine&) = delete;
    ProgressLine& operator=(const ProgressLine&) = delete;

    // A step of the job that has no measure of its own, such as reading a pad.
    void step(const std::string& text);

    void begin(const std::string& title, const std::string& label) override;
    void report(double fraction) override;
    void end() override;

private:
    void show(const std::string& text);

    std::ostream& err;
    bool shown;
    std::string title;
    int percent = -1;
    std::size_t width = 0;  // of what the line shows now
};
