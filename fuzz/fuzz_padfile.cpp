// Arbitrary bytes as a pad file and as a text file to import. Reading, also while listing, must
// fail only with the file's own messages, and whatever loads must save and load again unchanged.
#include "model/pad.h"
#include "storage/mapfile.h"
#include "storage/pad_document.h"
#include "storage/separator.h"
#include "tools/streamed_nibs.h"

#include <algorithm>
#include <cstdint>
#include <cstdio>
#include <string>
#include <string_view>
#include <unistd.h>

namespace {

std::string scratch(const char* name) {
    // tmpfs: the flush to disk of every save costs nothing there.
    return "/dev/shm/scrivel-fuzz-padfile-" + std::to_string(getpid()) + "-" + name;
}

void write_file(const std::string& path, std::string_view bytes) {
    if (std::FILE* out = std::fopen(path.c_str(), "wb")) {
        std::fwrite(bytes.data(), 1, bytes.size(), out);
        std::fclose(out);
    }
}

std::string content_of(const Pad& pad) {
    std::string text;
    for (const Nib& nib : pad.nibs()) text += nib.id_text() + nib.time_text() + '\0' + nib.text() + '\0';
    for (const SyncStamp& record : pad.deletions()) text += record.id_text() + record.time_text() + '\0';
    return text;
}

// The streaming reader of list and find on the same bytes: it may refuse them, but only with the
// file's own messages. Its output is compared with the loaded pad's by streamed_nibs_test.
void stream(const std::string& path) {
    const ShowNib ignore = [](const ListedNib&) {};
    try {
        for_each_listed_nib(path, ignore);
        for_each_found_nib(path, "a", ignore);
    } catch (const msg_exception&) {
    }
}

// The pad file taken in for rewriting, as a save that merges in another program's changes
// takes it: what update mode accepts and commits must read back.
void update() {
    const std::string input = scratch("in.nib");
    try {
        Mapfile map(input, Mapfile::update);
        map.commit();
    } catch (const Mapfile::file_error&) {
        return;
    }
    try {
        Mapfile(input, Mapfile::read).get("-ABSENT-");
    } catch (const Mapfile::no_such_key&) {
    }
}

void round_trip(std::string_view bytes) {
    static const std::string input = scratch("in.nib"), output = scratch("out.nib");
    write_file(input, bytes);
    PadDocument document;
    try {
        document = read_pad_file(input);
    } catch (const msg_exception&) {
        return;
    }
    write_pad_file(output, document.header, document.pad);
    PadDocument again = read_pad_file(output);
    if (content_of(again.pad) != content_of(document.pad)) __builtin_trap();
    // A pad without a font is written with the default one.
    if (again.header.font != document.header.font.value_or(default_pad_font) || again.header.placement != document.header.placement)
        __builtin_trap();
}

// The first line is the separator as typed, the rest the text file.
void import(std::string_view bytes) {
    static const std::string input = scratch("in.txt");
    const std::size_t cut = std::min(bytes.find('\n'), bytes.size());
    const std::string_view typed = bytes.substr(0, cut), text = bytes.substr(std::min(cut + 1, bytes.size()));
    const std::string separator = decode_separator(typed);
    if (separator.size() > typed.size() || decode_separator(encode_separator(separator)) != separator) __builtin_trap();
    write_file(input, text);
    Pad().import_text(input, separator);
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const std::string_view bytes(reinterpret_cast<const char*>(data), size);
    round_trip(bytes);
    stream(scratch("in.nib"));
    update();
    import(bytes);
    return 0;
}
