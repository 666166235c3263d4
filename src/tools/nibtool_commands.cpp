#include "tools/nibtool_commands.h"

#include "model/pad.h"
#include "storage/pad_document.h"
#include "storage/pad_file_merge.h"
#include "storage/separator.h"
#include "sync/id_index.h"
#include "storage/file_signature.h"
#include "support/messages.h"
#include "support/texts.h"
#include "support/util_text.h"
#include "tools/command_line.h"
#include "tools/nib_listing.h"
#include "tools/pad_check.h"
#include "tools/progress_line.h"
#include "tools/streamed_nibs.h"

#include <cerrno>
#include <functional>
#include <cstdio>
#include <istream>
#include <iterator>
#include <optional>
#include <ostream>

namespace {

// True when `command --help` was asked for; the usage then goes to `out`.
bool print_help(const CommandLine& line, const char* usage, std::ostream& out) {
    if (line.help) out << usage;
    return line.help;
}

bool file_exists(const std::string& path) {
    std::FILE* file = std::fopen(path.c_str(), "rb");
    if (file) {
        std::fclose(file);
        return true;
    }
    return errno != ENOENT;
}

// The pad at `path`, or a new one when there is no such file; `known` describes the file as read.
PadDocument read_or_new(const std::string& path, FileSignature& known) {
    known = file_signature(path);
    if (!file_exists(path)) return PadDocument{};
    return read_pad_file(path);
}

// A file of a newer version may hold more than this program reads; writing it back would lose that.
void refuse_newer(const std::string& path, const PadDocument& document) {
    if (document.header.newer())
        throw msg_exception(fill_message(texts.tool_newer_file, path), texts.newer_file, style_warning);
}

std::string separator_option(const CommandLine& line, const Terminal& terminal) {
    if (!line.options.count("separator")) return default_separator;
    std::string separator = decode_separator(terminal.pad_text(line.option("separator", {})));
    if (separator.empty()) throw msg_exception(texts.tool_empty_separator, texts.error, style_warning);
    return separator;
}

// A pad's nib stamps in order and its deletion records. A synchronisation changes a pad's texts
// only together with these, but for one case: see differing_tie.
struct PadStamps {
    std::vector<SyncStamp> nibs;
    std::vector<SyncStamp> deletions;

    explicit PadStamps(const Pad& pad) : nibs(pad.nibs().begin(), pad.nibs().end()), deletions(pad.deletions()) {}
    bool operator==(const PadStamps&) const = default;
};

// Whether `b` holds a nib under an id and time that `a` holds too, with another text: the
// synchronisation gives `b` the text of `a` then and leaves the stamp as it was.
bool differing_tie(const Pad& a, const Pad& b) {
    // Copies of one pad mostly hold their nibs in the same places: only the others are looked up.
    std::optional<IdIndex> theirs;
    for (std::size_t i = 0; i < a.nibs().size(); ++i) {
        const Nib& nib = a.nibs()[i];
        const Nib* same = nullptr;
        if (i < b.nibs().size() && uuid_equal(b.nibs()[i].id, nib.id)) {
            same = &b.nibs()[i];
        } else {
            if (!theirs) theirs.emplace(b.nibs(), std::vector<SyncStamp>());
            const std::int32_t at = theirs->find(nib.id).item;
            if (at >= 0) same = &b.nibs()[at];
        }
        if (same && same->time == nib.time && same->text() != nib.text()) return true;
    }
    return false;
}

ListingFormat listing_format(const CommandLine& line) {
    return line.flags.count("json") ? ListingFormat::json : ListingFormat::lines;
}

// The progress line of a job on these files: only on a terminal, and only when they are large.
ProgressLine job_progress(std::ostream& err, const Terminal& terminal, std::initializer_list<std::string> paths) {
    std::uintmax_t size = 0;
    if (terminal.progress)
        for (const std::string& path : paths) size += file_signature(path).size;
    return ProgressLine(err, size > progress_threshold);
}

std::string reading(const std::string& path) { return fill_message(texts.progress_reading, file_name_of(path)); }
std::string writing(const std::string& path) { return fill_message(texts.progress_writing, file_name_of(path)); }

}  // namespace

int list_command(const Arguments& arguments, std::ostream& out, const Terminal& terminal) {
    CommandLine line = parse_command_line("list", arguments, {}, 1, {"json"});
    if (print_help(line, texts.tool_list_usage, out)) return 0;
    NibListing listing(out, listing_format(line), terminal);
    for_each_listed_nib(line.words[0], std::ref(listing));
    listing.finish();
    return 0;
}

int find_command(const Arguments& arguments, std::ostream& out, const Terminal& terminal) {
    CommandLine line = parse_command_line("find", arguments, {}, 2, {"json"});
    if (print_help(line, texts.tool_find_usage, out)) return 0;
    NibListing listing(out, listing_format(line), terminal);
    for_each_found_nib(line.words[0], terminal.pad_text(line.words[1]), std::ref(listing));
    listing.finish();
    return 0;
}

int add_command(const Arguments& arguments, std::istream& in, std::ostream& out, const Terminal& terminal) {
    CommandLine line = parse_command_line("add", arguments, {}, 2);
    if (print_help(line, texts.tool_add_usage, out)) return 0;
    const std::string& path = line.words[0];
    std::string text = line.words[1];
    if (text == "-") text.assign(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
    text = terminal.pad_text(text);
    FileSignature known;
    PadDocument document = read_or_new(path, known);
    refuse_newer(path, document);
    // After the last nib, so that an empty last nib takes the text.
    document.pad.go_to(document.pad.found_count());
    document.pad.new_nib();
    document.pad.set_current_text(text);
    // What another program wrote since the read is merged in, not written over.
    save_merging(path, document.header, document.pad, known);
    return 0;
}

int import_command(const Arguments& arguments, std::ostream& out, std::ostream& err, const Terminal& terminal) {
    CommandLine line = parse_command_line("import", arguments, {"separator"}, 2);
    if (print_help(line, texts.tool_import_usage, out)) return 0;
    const std::string& path = line.words[0];
    const std::string separator = separator_option(line, terminal);
    ProgressLine progress = job_progress(err, terminal, {path, line.words[1]});
    progress.step(reading(path));
    FileSignature known;
    PadDocument document = read_or_new(path, known);
    refuse_newer(path, document);
    document.pad.go_to(document.pad.found_count());
    document.pad.import_text(line.words[1], separator, &progress);
    progress.step(writing(path));
    save_merging(path, document.header, document.pad, known);
    return 0;
}

int export_command(const Arguments& arguments, std::ostream& out, std::ostream& err, const Terminal& terminal) {
    CommandLine line = parse_command_line("export", arguments, {"separator", "query"}, 2);
    if (print_help(line, texts.tool_export_usage, out)) return 0;
    const std::string separator = separator_option(line, terminal);
    const std::string query = terminal.pad_text(line.option("query", {}));
    ProgressLine progress = job_progress(err, terminal, {line.words[0]});
    progress.step(reading(line.words[0]));
    Pad pad = read_pad_file(line.words[0]).pad;
    // The pad's own find also drops empty nibs, as the window's export does.
    pad.find(query);
    progress.step(writing(line.words[1]));
    pad.export_text(line.words[1], separator, 0);
    return 0;
}

namespace {

// Synchronises the pads of two files and writes back the first, and the second when asked. A file
// whose pad did not change is left alone, so that a synced folder sees no change.
void synchronise_files(const std::string& path_a, const std::string& path_b, bool write_b, std::ostream& err,
                       const Terminal& terminal) {
    ProgressLine progress = job_progress(err, terminal, {path_a, path_b});
    progress.step(reading(path_a));
    PadDocument a = read_pad_file(path_a);
    progress.step(reading(path_b));
    PadDocument b = read_pad_file(path_b);
    refuse_newer(path_a, a);
    if (write_b) refuse_newer(path_b, b);
    progress.step(texts.progress_synchronising);
    // Stamps rather than copies of the pads tell what changed: a copy of a large pad costs more
    // than the synchronisation.
    const PadStamps old_a(a.pad);
    const std::optional<PadStamps> old_b = write_b ? std::optional<PadStamps>(b.pad) : std::nullopt;
    const bool b_takes_texts = write_b && differing_tie(a.pad, b.pad);
    Pad::synchronise(a.pad, b.pad);
    if (PadStamps(a.pad) != old_a) {
        progress.step(writing(path_a));
        write_pad_file(path_a, a.header, a.pad);
    }
    if (old_b && (b_takes_texts || PadStamps(b.pad) != *old_b)) {
        progress.step(writing(path_b));
        write_pad_file(path_b, b.header, b.pad);
    }
}

}  // namespace

int sync_command(const Arguments& arguments, std::ostream& out, std::ostream& err, const Terminal& terminal) {
    CommandLine line = parse_command_line("sync", arguments, {}, 2);
    if (print_help(line, texts.tool_sync_usage, out)) return 0;
    synchronise_files(line.words[0], line.words[1], true, err, terminal);
    return 0;
}

// As a git merge driver: OURS becomes the synchronisation of OURS and THEIRS; BASE is not needed,
// as every nib carries its own time of change.
int merge_command(const Arguments& arguments, std::ostream& out, std::ostream& err, const Terminal& terminal) {
    CommandLine line = parse_command_line("merge", arguments, {}, 3);
    if (print_help(line, texts.tool_merge_usage, out)) return 0;
    synchronise_files(line.words[1], line.words[2], false, err, terminal);
    return 0;
}

int check_command(const Arguments& arguments, std::ostream& out) {
    CommandLine line = parse_command_line("check", arguments, {}, 1);
    if (print_help(line, texts.tool_check_usage, out)) return 0;
    const std::string& path = line.words[0];
    PadCheck check = check_pad_file(path);
    for (const std::string& problem : check.problems) out << problem << '\n';
    if (!check.problems.empty()) return 1;
    out << fill_message(texts.check_passed, path, std::to_string(check.nibs), std::to_string(check.deletions)) << '\n';
    return 0;
}
