// Arbitrary bytes as a pad file and as a text file to import. Reading must fail only with the
// file's own messages; whatever loads must save and load again unchanged, and list and find while
// reading the file must show the nibs of the loaded pad.
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

// Positions and texts, as listed while reading and as the loaded pad holds them.
std::string streamed(const std::string& path, const std::string* query) {
    std::string shown;
    const ShowNib show = [&shown](const ListedNib& nib) {
        std::string text;
        store_nib_text(text, nib.text);
        shown += std::to_string(nib.position) + '\0' + text + '\0';
    };
    if (query)
        for_each_found_nib(path, *query, show);
    else
        for_each_listed_nib(path, show);
    return shown;
}

std::string loaded(Pad pad, const std::string* query) {
    std::string shown;
    if (query && !pad.find(*query)) return shown;
    for (std::size_t i = 0; i < pad.nibs().size(); ++i)
        if (!query || pad.nibs()[i].found()) shown += std::to_string(i + 1) + '\0' + pad.nibs()[i].text() + '\0';
    return shown;
}

// The pad file as plain records. The first bytes also name a key to look for: found or not, the
// reader must stay sound. What update mode accepts and commits must read back.
void read_records(std::string_view bytes) {
    const std::string input = scratch("in.nib"), probe(bytes.substr(0, 8));
    try {
        Mapfile map(input, Mapfile::read);
        for (const std::string& key : {probe, std::string("NNIBS"), std::string("NIB0")}) {
            try {
                map.get(key);
                map.get_int(key);
            } catch (const Mapfile::no_such_key&) {
            }
        }
    } catch (const Mapfile::file_error&) {
    }
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
    static const std::string queries[] = {"", "a", "\n"};
    if (streamed(input, nullptr) != loaded(document.pad, nullptr)) __builtin_trap();
    for (const std::string& query : queries)
        if (streamed(input, &query) != loaded(document.pad, &query)) __builtin_trap();
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
    Pad pad;
    pad.import_text(input, separator);

    // The same cut, position by position, as the plain reading of the algorithm does it.
    Pad expected;
    auto add = [&expected](std::string_view piece) {
        expected.new_nib();
        expected.set_current_text(std::string(piece));
    };
    std::size_t start = 0, pos = 0;
    while (!separator.empty() && text.size() - pos >= separator.size()) {
        const std::size_t k = separator_match(separator, text.substr(pos));
        if (k == 0) {
            ++pos;
            continue;
        }
        add(text.substr(start, pos - start));
        pos += k;
        start = pos;
    }
    if (start < text.size()) add(text.substr(start));
    if (pad.count() != expected.count()) __builtin_trap();
    for (int i = 0; i < pad.count(); ++i)
        if (pad.nibs()[i].text() != expected.nibs()[i].text()) __builtin_trap();
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const std::string_view bytes(reinterpret_cast<const char*>(data), size);
    round_trip(bytes);
    read_records(bytes);
    import(bytes);
    return 0;
}
