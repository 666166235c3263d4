// Writes that the system refuses part-way, made real by a file size limit (POSIX only).
#include "storage/mapfile.h"

#include "mapfile_test_support.h"

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <csignal>
#include <cstring>
#include <sys/resource.h>

using ::testing::ElementsAre;

namespace {

// Files may grow to `bytes` while it lives; beyond that, writes fail with EFBIG instead of a signal.
class FileSizeLimit {
public:
    explicit FileSizeLimit(rlim_t bytes) {
        getrlimit(RLIMIT_FSIZE, &saved);
        old_handler = std::signal(SIGXFSZ, SIG_IGN);
        rlimit limit = saved;
        limit.rlim_cur = bytes;
        setrlimit(RLIMIT_FSIZE, &limit);
    }
    ~FileSizeLimit() {
        setrlimit(RLIMIT_FSIZE, &saved);
        std::signal(SIGXFSZ, old_handler);
    }

private:
    rlimit saved{};
    void (*old_handler)(int);
};

class MapfileDiskFull : public ::testing::Test {
protected:
    void expect_write_error(const msg_exception& e) {
        EXPECT_EQ(e.text, "Error while writing to " + file + ": " + std::strerror(EFBIG));
        EXPECT_EQ(e.title, "Could not save file");
        EXPECT_EQ(e.style, 16u);
        EXPECT_EQ(read_bytes(file), example_pad);
        EXPECT_THAT(folder.entries(), ElementsAre("pad.nib"));
    }

    ScratchFolder folder;
    std::string file = folder.path("pad.nib");
};

TEST_F(MapfileDiskFull, FailingPutLeavesTheOldFileAndNoTemporaryFile) {
    write_bytes(file, example_pad);
    Mapfile map(file, Mapfile::write);
    map.put("NNIBS", "1");
    {
        FileSizeLimit limit(64 * 1024);
        expect_write_error(thrown_by<Mapfile::file_error>([&] { map.put("NIB0", std::string(3'000'000, 'x')); }));
    }
    // The save is over: later writes and the close report the failure again, and change nothing.
    EXPECT_THROW(map.put("ID0", "x"), Mapfile::file_error);
    expect_write_error(thrown_by<Mapfile::file_error>([&] { map.close(); }));
}

TEST_F(MapfileDiskFull, FailingCloseLeavesTheOldFileAndNoTemporaryFile) {
    write_bytes(file, example_pad);
    Mapfile map(file, Mapfile::write);
    for (int i = 0; i < 1000; ++i) map.put("NIB" + std::to_string(i), std::string(100, 'x'));
    FileSizeLimit limit(16 * 1024);
    expect_write_error(thrown_by<Mapfile::file_error>([&] { map.close(); }));
}

TEST_F(MapfileDiskFull, FailingCommitLeavesTheOldFile) {
    write_bytes(file, example_pad);
    Mapfile map(file, Mapfile::update);
    map.put("NIB0", std::string(200'000, 'x'));
    FileSizeLimit limit(64 * 1024);
    expect_write_error(thrown_by<Mapfile::file_error>([&] { map.commit(); }));
}

}  // namespace
