// A save that fails part-way must leave the previous file exactly as it was.
#include "mapfile_test_support.h"
#include "storage/pad_document.h"

#include <gtest/gtest.h>

#ifndef _WIN32
#include <csignal>
#include <sys/resource.h>

namespace {

// Lets every write of this process beyond `bytes` into any one file fail, until destroyed.
class FileSizeLimit {
public:
    explicit FileSizeLimit(rlim_t bytes) {
        getrlimit(RLIMIT_FSIZE, &saved);
        previous_handler = std::signal(SIGXFSZ, SIG_IGN);
        rlimit limit = saved;
        limit.rlim_cur = bytes;
        setrlimit(RLIMIT_FSIZE, &limit);
    }
    ~FileSizeLimit() {
        setrlimit(RLIMIT_FSIZE, &saved);
        std::signal(SIGXFSZ, previous_handler);
    }

private:
    rlimit saved{};
    void (*previous_handler)(int) = nullptr;
};

Pad pad_of(int nibs) {
    Pad pad;
    for (int i = 0; i < nibs; ++i) {
        pad.new_nib();
        pad.set_current_text("nib number " + std::to_string(i) + "\nwith a second line");
    }
    pad.delete_current();
    return pad;
}

}  // namespace

TEST(PadSaveFailure, FailingAtAnyByteLeavesTheOldFileIntact) {
    ScratchFolder folder;
    const std::string path = folder.path("pad.nib");
    write_bytes(path, example_pad);
    const PadFileHeader header{WindowPlacement{1, 2, 3, 4}, PadFont{"Arial", 12}, std::nullopt};
    const Pad pad = pad_of(1000);  // large enough for the writer to flush several times

    // Measure the new file, then fail the save at every point of it.
    write_pad_file(folder.path("measure.nib"), header, pad);
    const std::size_t size = read_bytes(folder.path("measure.nib")).size();
    std::filesystem::remove(folder.path("measure.nib"));
    ASSERT_GT(size, 100000u);

    for (std::size_t limit = 0; limit < size; limit += size / 97) {
        bool failed = false;
        try {
            FileSizeLimit fail_after(limit);
            write_pad_file(path, header, pad);
        } catch (const msg_exception&) {
            failed = true;
        }
        ASSERT_TRUE(failed) << "a save limited to " << limit << " bytes reported success";
        ASSERT_EQ(read_bytes(path), example_pad) << "limit " << limit;
        ASSERT_EQ(folder.entries(), std::vector<std::string>{"pad.nib"}) << "limit " << limit;
    }

    // Without the limit the same save replaces the file.
    write_pad_file(path, header, pad);
    EXPECT_EQ(read_pad_file(path).pad.count(), pad.count());
}
#endif
