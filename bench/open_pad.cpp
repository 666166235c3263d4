// What the core does when a pad window opens a pad with a query (scrivel PAD /f QUERY), as one
// process for the whole-job benchmark: the window's own drawing is left out.
// Usage: open_pad PAD QUERY; prints the count of nibs and of found ones.
#include "model/pad.h"
#include "storage/file_signature.h"
#include "storage/pad_document.h"
#include "storage/pad_file_merge.h"
#include "support/messages.h"

#include <cstdio>
#include <string>

int main(int argc, char** argv) {
    if (argc != 3) {
        std::fprintf(stderr, "usage: open_pad PAD QUERY\n");
        return 2;
    }
    const std::string path = argv[1], query = argv[2];
    try {
        FileSignature known = file_signature(path);
        PadFileReader reader(path);
        Pad pad;
        reader.read_pad(pad);
        // The window, once shown, is activated: it takes what changed in the file meanwhile.
        merge_file_changes(path, pad, known);
        pad.go_to(1);
        pad.find(query);
        std::printf("%d nibs, %d found\n", pad.count(), pad.found_count());
        return 0;
    } catch (const msg_exception& error) {
        std::fprintf(stderr, "%s: %s\n", error.title.c_str(), error.text.c_str());
        return 1;
    }
}
