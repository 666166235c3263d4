#pragma once
// Scratch folders, raw file bytes and messages for the storage tests.
#include "support/messages.h"
#include "support/platform.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <iterator>
#include <string>
#include <vector>

// A fresh folder under the system's temporary folder, removed with everything in it. Named after the
// process too: test runs of other checkouts share the temporary folder.
class ScratchFolder {
public:
    ScratchFolder() {
        static int count = 0;
        const auto* test = ::testing::UnitTest::GetInstance()->current_test_info();
        folder = std::filesystem::temp_directory_path() /
                 ("scrivel-" + std::to_string(platform::process_id()) + "-" + std::string(test ? test->name() : "test") +
                  "-" + std::to_string(++count));
        std::filesystem::remove_all(folder);
        std::filesystem::create_directories(folder);
    }
    ~ScratchFolder() {
        std::error_code ignored;  // read-only files cannot be removed on Windows
        for (const auto& entry : std::filesystem::recursive_directory_iterator(folder, ignored))
            std::filesystem::permissions(entry.path(), std::filesystem::perms::owner_all,
                                         std::filesystem::perm_options::add, ignored);
        std::filesystem::remove_all(folder, ignored);
    }
    std::string path(const std::string& name) const { return (folder / name).string(); }
    std::vector<std::string> entries() const {
        std::vector<std::string> names;
        for (const auto& entry : std::filesystem::directory_iterator(folder)) names.push_back(entry.path().filename().string());
        return names;
    }

private:
    std::filesystem::path folder;
};

inline void write_bytes(const std::string& path, const std::string& bytes) {
    std::ofstream(path, std::ios::binary | std::ios::trunc).write(bytes.data(), static_cast<std::streamsize>(bytes.size()));
}

inline std::string read_bytes(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    return std::string(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
}

// The exception of type `Exception` that a call throws.
template <typename Exception = msg_exception, typename Call>
msg_exception thrown_by(Call call) {
    try {
        call();
    } catch (const Exception& e) {
        return e;
    }
    ADD_FAILURE() << "expected an exception";
    return msg_exception("", "", 0);
}

// A message as one line: "title: text (style)".
inline std::string message_line(const msg_exception& e) { return e.title + ": " + e.text + " (" + std::to_string(e.style) + ")"; }

// The messages shown while it lives, each as one line.
struct ShownMessages {
    std::vector<std::string> lines;
    MessageSink previous = set_message_sink([this](void*, const std::string& text, const std::string& title,
                                                   std::uint32_t style) { lines.push_back(message_line({text, title, style})); });
    ~ShownMessages() { set_message_sink(previous); }
};

// The worked example of a pad with two nibs and one deletion record.
inline const char* const example_pad =
    "WIN_LEFT (3): 100\n"
    "WIN_TOP (2): 80\n"
    "WIN_WIDTH (3): 400\n"
    "WIN_HEIGHT (3): 450\n"
    "FONT_NAME (13): MS Sans Serif\n"
    "FONT_SIZE (2): 11\n"
    "FILE_VERSION (4): 1000\n"
    "NNIBS (1): 2\n"
    "NIB0 (5): Hello\n"
    "ID0 (36): 6f1c2a3e-5b7d-4e21-9a0b-1c2d3e4f5a6b\n"
    "TMOD0 (16): 944000000 1520 1\n"
    "NIB1 (8): Buy milk\n"
    "ID1 (36): 0b9d8c7e-6f5a-4b3c-8d2e-1f0a9b8c7d6e\n"
    "TMOD1 (16): 944000100 9870 1\n"
    "DEL0_ID (36): 3c4d5e6f-7a8b-4c9d-8e0f-a1b2c3d4e5f6\n"
    "DEL0_TS (16): 944000200 1400 2\n";
