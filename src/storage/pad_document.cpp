#include "storage/pad_document.h"

#include <utility>

namespace {

std::optional<std::int32_t> optional_int(Mapfile& file, std::string_view key) {
    try {
        return file.get_int(key);
    } catch (const Mapfile::no_such_key&) {
        return std::nullopt;
    }
}

}  // namespace

PadFileReader::PadFileReader(const std::string& path) : file(path, Mapfile::read) {
    // Font first, then placement, then version: nearly the written order, so that one pass
    // over the file serves the whole load.
    try {
        std::string name = file.get("FONT_NAME");
        std::int32_t size = file.get_int("FONT_SIZE");
        head.font = PadFont{std::move(name), size};
    } catch (const Mapfile::no_such_key&) {
    }
    auto left = optional_int(file, "WIN_LEFT");
    auto top = optional_int(file, "WIN_TOP");
    auto width = optional_int(file, "WIN_WIDTH");
    auto height = optional_int(file, "WIN_HEIGHT");
    if (left && top && width && height) head.placement = WindowPlacement{*left, *top, *width, *height};
    head.version = optional_int(file, "FILE_VERSION");
}

void PadFileReader::read_pad(Pad& pad) {
    pad.load(file);
    file.close();
}

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
