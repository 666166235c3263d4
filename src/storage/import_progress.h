#pragma once
// How a long text import tells its progress, so that the core needs no window: the main window
// plugs its progress window in, nibtool plugs in nothing. The import decides when to call.
#include <cstddef>
#include <string>

// Files up to this many bytes import without any progress report.
inline constexpr std::size_t import_progress_threshold = 50000;
// At least this many bytes of progress lie between two reports, so repainting never slows the scan.
inline constexpr std::size_t import_progress_step = 20000;

class ImportProgress {
public:
    virtual ~ImportProgress() = default;
    // Called once before the first report, only for files above import_progress_threshold.
    virtual void begin(const std::string& title, const std::string& label) = 0;
    // The fraction of the file done, from 0 to 1.
    virtual void report(double fraction) = 0;
    // Called after a begin, also when the import fails.
    virtual void end() = 0;
};
