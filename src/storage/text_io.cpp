// Nib texts to a text file and back, joined by a separator string.
#include "model/pad.h"
#include "storage/import_progress.h"
#include "storage/separator.h"
#include "support/messages.h"
#include "support/texts.h"

#include <cerrno>
#include <cstdint>
#include <cstdio>
#include <cstring>
#include <memory>
#include <string>
#include <string_view>
#include <vector>

namespace {

struct FileCloser {
    void operator()(std::FILE* file) const { std::fclose(file); }
};
using FileHandle = std::unique_ptr<std::FILE, FileCloser>;

constexpr std::size_t export_block = 1 << 16;

[[noreturn]] void raise_export_error(const std::string& path) {
    throw msg_exception(fill_message(texts.export_failed, path) + ": " + std::strerror(errno), texts.export_error,
                        style_stop);
}

// Each line feed as carriage return and line feed, as a text-mode stream writes it.
void append_text_mode(std::string& out, std::string_view text) {
    for (char c : text) {
        if (c == '\n') out += '\r';
        out += c;
    }
}

// Nib texts already hold carriage return and line feed pairs: only a lone line feed gains one.
void append_line_ends(std::string& out, std::string_view text) {
    char previous = 0;
    for (char c : text) {
        if (c == '\n' && previous != '\r') out += '\r';
        out += c;
        previous = c;
    }
}

// A whole file's bytes, read without first filling the buffer with zeros.
struct FileBytes {
    std::unique_ptr<char[]> data;
    std::size_t size = 0;
    std::string_view view() const { return {data.get(), size}; }
};

// The size the file has now, as a first guess; 0 when the system cannot tell.
std::size_t size_hint(std::FILE* file) {
    if (std::fseek(file, 0, SEEK_END) != 0) return 0;
    const long end = std::ftell(file);
    std::rewind(file);
    return end > 0 ? static_cast<std::size_t>(end) : 0;
}

FileBytes read_whole_file(const std::string& path) {
    FileHandle file(std::fopen(path.c_str(), "rb"));
    if (!file)
        throw msg_exception(fill_message(texts.import_failed, path) + ": " + last_error_text(), texts.import_error,
                            style_stop);
    FileBytes bytes;
    // One byte more than expected, so that a file that has grown is noticed.
    std::size_t capacity = size_hint(file.get()) + 1;
    bytes.data.reset(new char[capacity]);
    for (;;) {
        bytes.size += std::fread(bytes.data.get() + bytes.size, 1, capacity - bytes.size, file.get());
        if (bytes.size < capacity) break;
        std::unique_ptr<char[]> larger(new char[capacity * 2]);
        std::memcpy(larger.get(), bytes.data.get(), bytes.size);
        bytes.data = std::move(larger);
        capacity *= 2;
    }
    if (std::ferror(file.get())) throw msg_exception(last_error_text(), texts.error, style_warning);
    return bytes;
}

// Where the separator could start next, from `pos`: its first byte, or for a line break any
// carriage return or line feed. Returns `text.size()` when there is none.
class CandidateFinder {
public:
    CandidateFinder(std::string_view text, char first) : text(text), first(first) {
        line_break = first == '\n' || first == '\r';
    }

    std::size_t next(std::size_t pos) { return line_break ? find_line_break(pos) : find(first, pos); }

private:
    // One pass for either byte: with a line break every few dozen bytes, two searches that each
    // stop at every line cost more than the bytes they pass over.
    std::size_t find_line_break(std::size_t pos) const {
        constexpr std::uint64_t ones = 0x0101010101010101ULL, highs = 0x8080808080808080ULL;
        auto has_zero_byte = [](std::uint64_t word) { return ((word - ones) & ~word & highs) != 0; };
        const char* const base = text.data();
        for (; pos + 8 <= text.size(); pos += 8) {
            std::uint64_t word;
            std::memcpy(&word, base + pos, sizeof word);
            if (has_zero_byte(word ^ (ones * '\r')) || has_zero_byte(word ^ (ones * '\n'))) break;
        }
        for (; pos < text.size(); ++pos)
            if (base[pos] == '\r' || base[pos] == '\n') return pos;
        return text.size();
    }

    std::size_t find(char c, std::size_t pos) const {
        if (pos >= text.size()) return text.size();
        const void* hit = std::memchr(text.data() + pos, c, text.size() - pos);
        return hit ? static_cast<std::size_t>(static_cast<const char*>(hit) - text.data()) : text.size();
    }

    std::string_view text;
    char first;
    bool line_break;
};

// One piece of an imported text, and where reading resumed after the separator that ended it
// (0 for the last piece, which no separator ends).
struct Piece {
    std::size_t start;
    std::size_t size;
    std::size_t resume;
};

// The pieces between the separators, found before any nib is made.
std::vector<Piece> cut_pieces(std::string_view text, const std::string& separator) {
    std::vector<Piece> pieces;
    const std::size_t n = text.size(), m = separator.size();
    std::size_t start = 0;
    if (m > 0) {
        CandidateFinder candidates(text, separator[0]);
        std::size_t pos = 0;
        while (n - pos >= m) {
            pos = candidates.next(pos);
            if (n - pos < m) break;
            const std::size_t k = separator_match(separator, text.substr(pos));
            if (k == 0) {
                ++pos;
                continue;
            }
            pieces.push_back(Piece{start, pos - start, pos + k});
            pos += k;
            start = pos;
        }
    }
    if (start < n) pieces.push_back(Piece{start, n - start, 0});
    return pieces;
}

// Reports an import's progress with the thresholds of import_progress.h, and always ends what it began.
class ProgressReporter {
public:
    ProgressReporter(ImportProgress* progress, std::size_t size) : size(size) {
        if (progress && size > import_progress_threshold) {
            progress->begin(texts.importing_title, texts.importing_label);
            shown = progress;
        }
    }
    ~ProgressReporter() {
        if (!shown) return;
        try {
            shown->end();
        } catch (...) {
            // The import's own error is the one to report.
        }
    }
    void at(std::size_t pos) {
        if (shown && pos - reported > import_progress_step) {
            shown->report(static_cast<double>(pos) / static_cast<double>(size));
            reported = pos;
        }
    }
    void finish() {
        if (!shown) return;
        ImportProgress* done = shown;
        shown = nullptr;
        done->end();
    }

private:
    ImportProgress* shown = nullptr;
    std::size_t size;
    std::size_t reported = 0;
};

}  // namespace

void Pad::export_text(const std::string& path, const std::string& separator, int all) const {
    FileHandle file(std::fopen(path.c_str(), "wb"));
    if (!file) raise_export_error(path);
    std::string joint;
    append_text_mode(joint, separator);
    std::string block;
    bool first = true;
    for (const Nib& nib : items) {
        if (!all && !nib.found()) continue;
        if (!first) block += joint;
        first = false;
        append_line_ends(block, nib.text());
        if (block.size() >= export_block) {
            if (std::fwrite(block.data(), 1, block.size(), file.get()) != block.size()) raise_export_error(path);
            block.clear();
        }
    }
    if (std::fwrite(block.data(), 1, block.size(), file.get()) != block.size()) raise_export_error(path);
    if (std::fclose(file.release()) != 0) raise_export_error(path);
}

void Pad::import_text(const std::string& path, const std::string& separator, ImportProgress* progress) {
    const FileBytes content = read_whole_file(path);
    const std::string_view text = content.view();
    ProgressReporter reporter(progress, text.size());
    const std::vector<Piece> pieces = cut_pieces(text, separator);
    // Counted first, so that the nibs are moved into place once rather than at every growth.
    items.reserve(items.size() + pieces.size());
    for (const Piece& piece : pieces) {
        // Into an empty current nib, else a new one: empty pieces leave no more than one empty nib.
        const std::string_view piece_text = text.substr(piece.start, piece.size);
        if (current_text().empty())
            set_current_text(piece_text);
        else
            append_current(Nib(piece_text));
        if (piece.resume > 0) reporter.at(piece.resume);
    }
    reporter.finish();
}
