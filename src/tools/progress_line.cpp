#include "tools/progress_line.h"

#include <ostream>

ProgressLine::~ProgressLine() { end(); }

void ProgressLine::step(const std::string& text) { show(text); }

void ProgressLine::begin(const std::string& job_title, const std::string&) {
    title = job_title;
    percent = -1;
    report(0);
}

void ProgressLine::report(double fraction) {
    // The import reports often; the line changes only with the number it shows.
    const int now = static_cast<int>(fraction * 100);
    if (now == percent) return;
    percent = now;
    show(title + ' ' + std::to_string(now) + '%');
}

void ProgressLine::end() {
    if (width == 0) return;
    err << '\r' << std::string(width, ' ') << '\r' << std::flush;
    width = 0;
}

void ProgressLine::show(const std::string& text) {
    if (!shown) return;
    err << '\r' << text;
    // What a longer text before left at the end of the line goes.
    if (text.size() < width) err << std::string(width - text.size(), ' ') << '\r' << text;
    err << std::flush;
    width = text.size();
}
