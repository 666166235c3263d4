#pragma once
// A whole pad file: the window's placement and font and the format version around the pad.
// The main window supplies and receives only placement and font; nibtool uses it as it is.
#include "model/pad.h"
#include "storage/mapfile.h"

#include <cstdint>
#include <memory>
#include <optional>
#include <string>

// The format version this program writes; a file without a version reads as this one.
inline constexpr std::int32_t pad_file_version = 1000;

// The main window's normal (restored) rectangle.
struct WindowPlacement {
    std::int32_t left = 0;
    std::int32_t top = 0;
    std::int32_t width = 0;
    std::int32_t height = 0;
    bool operator==(const WindowPlacement&) const = default;
};

struct PadFont {
    std::string name;
    std::int32_t size = 0;
    bool operator==(const PadFont&) const = default;
};

// The program's font unless the user chose another: written into a pad that comes without one.
inline const PadFont default_pad_font{"MS Sans Serif", 11};

// The keys around the pad. A part that the file lacks stays empty.
struct PadFileHeader {
    std::optional<WindowPlacement> placement;  // all four keys, or none
    std::optional<PadFont> font;               // both keys, or none
    std::optional<std::int32_t> version;       // as stored; may be newer than pad_file_version

    // True when the file was written by a newer program, which may hold more than this one reads.
    bool newer() const { return version && *version > pad_file_version; }
};

// Reads a pad file, then hands over the header and the pad in two steps, so that the window can
// be made from the header (and ask about a newer version) before it takes the nibs.
class PadFileReader {
public:
    // Reads the whole file; throws the file's msg_exception when it cannot.
    explicit PadFileReader(const std::string& path);
    const PadFileHeader& header() const { return head; }
    // Moves the nibs and deletion records into `pad`; once only.
    void read_pad(Pad& pad);

private:
    PadFileHeader head;
    Pad loaded;
};

struct PadDocument {
    PadFileHeader header;
    Pad pad;
};

// Reads a whole pad file.
PadDocument read_pad_file(const std::string& path);

// Writes a whole pad file: the placement that the header has, its font or else the default one,
// the version this program writes, then the pad. The old file stays untouched until the new one is complete.
void write_pad_file(const std::string& path, const PadFileHeader& header, Pad& pad);
