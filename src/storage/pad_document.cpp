#include "storage/pad_document.h"

#include <utility>

PadFileReader::PadFileReader(const std::string& path) {
    // One pass over the file serves the whole load: header keys may stand anywhere in it.
    Mapfile file(path, Mapfile::read);
    loaded.load(file, &head);
    file.close();
}

void PadFileReader::read_pad(Pad& pad) { pad = std::move(loaded); }

PadDocument read_pad_file(const std::string& path) {
    PadFileReader reader(path);
    PadDocument document;
    document.header = reader.header();
    reader.read_pad(document.pad);
    return document;
}

void write_pad_file(const std::string& path, const PadFileHeader& header, Pad& pad) {
    Mapfile file(path, Mapfile::write);
    if (header.placement) {
        file.put_int("WIN_LEFT", header.placement->left);
        file.put_int("WIN_TOP", header.placement->top);
        file.put_int("WIN_WIDTH", header.placement->width);
        file.put_int("WIN_HEIGHT", header.placement->height);
    }
    const PadFont& font = header.font ? *header.font : default_pad_font;
    file.put("FONT_NAME", font.name);
    file.put_int("FONT_SIZE", font.size);
    file.put_int("FILE_VERSION", pad_file_version);
    pad.save(file);
    file.close();
}
