// Saving through the file layer: what the path leads to is what changes, and no failure at any
// point of a save loses the old file or leaves a temporary file behind.
#include "mapfile_test_support.h"
#include "storage/file_faults.h"
#include "storage/mapfile.h"
#include "support/platform.h"

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <algorithm>
#include <cerrno>
#include <cstring>
#include <functional>
#ifndef _WIN32
#include <sys/stat.h>
#include <unistd.h>
#endif

using ::testing::AnyOf;
using ::testing::EndsWith;
using ::testing::ElementsAre;
using ::testing::UnorderedElementsAre;
using ::testing::UnorderedElementsAreArray;

namespace {

namespace fs = std::filesystem;

// One record to replace and one to remove, when the save updates the file.
const std::string old_bytes = "A (3): old\nGONE (4): gone\n";

// Three records, the middle one past the writer's buffer, so that a save writes several times.
const std::string big_value(1'200'000, 'x');
const std::string new_bytes = "A (1): a\nBIG (1200000): " + big_value + "\nZ (1): z\n";

void save_new_version(const std::string& path, int mode = Mapfile::write) {
    Mapfile map(path, mode);
    map.put("A", "a");
    map.put("BIG", big_value);
    map.put("Z", "z");
    if (mode == Mapfile::update) {
        map.remove("GONE");
        map.commit();
    }
    map.close();
}

// This process's temporary files of `name` in the temporary folder, which other test programs
// running at the same time share.
std::vector<std::string> temporaries_elsewhere(const std::string& name) {
    const std::string ours = ".tmp" + std::to_string(platform::process_id()) + "-";
    std::vector<std::string> found;
    for (const std::string& entry : platform::folder_entries(platform::temporary_folder()))
        if (entry.rfind(name + "-", 0) == 0 && entry.find(ours) != std::string::npos) found.push_back(entry);
    return found;
}

// The system's wordings of a failure, from the runtime and from the system itself.
std::vector<std::string> wordings_of(platform::FileError error) {
    platform::set_file_error(error);
    std::vector<std::string> texts{std::strerror(errno)};
    platform::set_file_error(error);
    texts.push_back(platform::last_error_text());
    return texts;
}

class Saving : public ::testing::Test {
protected:
    ~Saving() override { file_faults::arm({}); }
    // Every name of the pad holds `bytes`, alone in its folder, and no temporary file is left.
    void expect_names_hold(const std::string& bytes) {
        for (const std::string& name : names) EXPECT_EQ(read_bytes(folder.path(name)), bytes) << name;
        EXPECT_THAT(folder.entries(), UnorderedElementsAreArray(names));
        EXPECT_TRUE(temporaries_elsewhere("pad.nib").empty());
    }
    // A failed save: its message ends in one of the `wordings`, and the pad is as it was.
    void expect_failed_save(const msg_exception& e, const std::vector<std::string>& wordings) {
        EXPECT_EQ(e.title, "Could not save file");
        EXPECT_THAT(e.text, AnyOf(EndsWith(": " + wordings[0]), EndsWith(": " + wordings[1])));
        expect_names_hold(old_bytes);
    }
    // Saves over the old bytes under the plan for each step in turn, until a save goes through;
    // the failures end in the wording of `error`. Returns that step; a save that never goes
    // through fails here rather than hanging the test.
    int steps_until_saved(const std::function<file_faults::Plan(int)>& plan_at, int mode, platform::FileError error) {
        write_bytes(pad, old_bytes);
        for (int step = 0; step < 100; ++step) {
            SCOPED_TRACE("step " + std::to_string(step));
            file_faults::arm(plan_at(step));
            try {
                save_new_version(pad, mode);
                file_faults::arm({});
                expect_names_hold(new_bytes);
                return step;
            } catch (const Mapfile::file_error& e) {
                file_faults::arm({});
                expect_failed_save(e, wordings_of(error));
            }
        }
        ADD_FAILURE() << "no save went through";
        return -1;
    }
    ScratchFolder folder;
    const std::string pad = folder.path("pad.nib");
    std::vector<std::string> names{"pad.nib"};
};

// How the pad's file stands before the save; a hard-linked file is written in place.
enum class Setting { plain, folder_refuses_new_files, hard_linked };

TEST_F(Saving, EveryFailingOperationAndAFillingDiskLeaveTheOldFileAndNoTemporaryFile) {
    using platform::FileError;
    for (Setting setting : {Setting::plain, Setting::folder_refuses_new_files, Setting::hard_linked})
        for (int mode : {Mapfile::write, Mapfile::update}) {
            SCOPED_TRACE(std::to_string(static_cast<int>(setting)) + (mode == Mapfile::write ? " write" : " update"));
            if (setting == Setting::hard_linked && names.size() == 1) {
                fs::create_hard_link(pad, folder.path("link.nib"));
                names.push_back("link.nib");
            }
            // The first operation creates the temporary file beside the pad; a folder that refuses
            // it gets the pad written in place. The fault plan holds one failing operation only.
            const bool refused = setting == Setting::folder_refuses_new_files;
            if (!refused) {
                EXPECT_GE(steps_until_saved([](int step) { return file_faults::Plan{step + 1}; }, mode, FileError::device), 6);
            }
            const int steps = steps_until_saved(
                [&](int step) { return file_faults::Plan{refused ? 1 : 0, FileError::access_denied, step * 400'000u}; },
                mode, FileError::disk_full);
            EXPECT_GT(steps * 400'000u, big_value.size());
        }
}

TEST_F(Saving, AWriteThatFailedFailsEveryLaterWriteAndTheCloseAndChangesNothing) {
    write_bytes(pad, old_bytes);
    const auto disk_full = wordings_of(platform::FileError::disk_full);
    Mapfile map(pad, Mapfile::write);
    file_faults::arm({0, platform::FileError::device, 64 * 1024});
    expect_failed_save(thrown_by<Mapfile::file_error>([&] { map.put("BIG", big_value); }), disk_full);
    file_faults::arm({});
    EXPECT_THROW(map.put("Z", "z"), Mapfile::file_error);
    const msg_exception e = thrown_by<Mapfile::file_error>([&] { map.close(); });
    EXPECT_EQ(e.text.rfind("Error while writing to " + pad + ": ", 0), 0u) << e.text;
    expect_failed_save(e, disk_full);
}

TEST_F(Saving, StaleTemporaryFilesOfThePadGoWithTheNextSave) {
    write_bytes(pad, old_bytes);
    const std::string ours = "pad.nib.tmp" + std::to_string(platform::process_id()) + "-999";
    // A process id no system hands out, left by a save that a crash interrupted.
    for (const std::string& name : {ours, std::string("pad.nib.tmp4294967290-1"), std::string("pad.nib.tmpx-1"),
                                    std::string("other.nib.tmp4294967290-1")})
        write_bytes(folder.path(name), "left over");
    save_new_version(pad);
    EXPECT_THAT(folder.entries(), UnorderedElementsAre("pad.nib", "pad.nib.tmpx-1", "other.nib.tmp4294967290-1"));
    EXPECT_EQ(read_bytes(pad), new_bytes);
}

TEST_F(Saving, PathsWithForwardSlashesOrLongerThanTheOldLimitOfWindowsSaveAndReplace) {
    const std::string deep = folder.path(std::string(120, 'a')) + "/" + std::string(120, 'b');
    // A folder named as the POSIX world writes it: forward slashes, and on Windows no drive (that
    // of the current directory). It must name the same file for every file operation of a save.
    std::string forward = folder.path("f");
#ifdef _WIN32
    const fs::path was = fs::current_path();
    fs::current_path(folder.path(""));
    forward = forward.substr(2);
    std::replace(forward.begin(), forward.end(), '\\', '/');
#endif
    for (const auto& [inner, named] : {std::pair{folder.path("f"), forward}, {deep, deep}}) {
        SCOPED_TRACE(named);
        fs::create_directories(inner);
        write_bytes(inner + "/pad.nib", old_bytes);
        save_new_version(named + "/pad.nib");
        EXPECT_EQ(read_bytes(inner + "/pad.nib"), new_bytes);
        EXPECT_THAT(platform::folder_entries(inner), ElementsAre("pad.nib"));
    }
#ifdef _WIN32
    fs::current_path(was);
#endif
    // Short again for the scratch folder's clean-up, which takes no long paths on Windows.
    fs::rename(folder.path(std::string(120, 'a')), folder.path("a"));
}

#ifndef _WIN32
TEST_F(Saving, TheFileALinkLeadsToIsReplacedKeepingModeOwnerAndGroup) {
    fs::create_directories(folder.path("synced"));
    const std::string real = folder.path("synced/pad.nib");
    write_bytes(real, old_bytes);
    chmod(real.c_str(), 0640);
    const bool may_give_away = chown(real.c_str(), 1234, 5678) == 0;
    // A relative link to a relative link.
    fs::create_symlink("synced/pad.nib", folder.path("middle.nib"));
    fs::create_symlink("middle.nib", pad);
    save_new_version(pad);
    EXPECT_TRUE(fs::is_symlink(pad));
    EXPECT_TRUE(fs::is_symlink(folder.path("middle.nib")));
    EXPECT_EQ(read_bytes(real), new_bytes);
    struct stat info;
    ASSERT_EQ(stat(real.c_str(), &info), 0);
    EXPECT_EQ(info.st_mode & 07777, 0640u);
    if (may_give_away) {
        EXPECT_EQ(std::make_pair(info.st_uid, info.st_gid), std::make_pair(uid_t{1234}, gid_t{5678}));
    }
    EXPECT_THAT(folder.entries(), UnorderedElementsAre("synced", "middle.nib", "pad.nib"));
    // A link that leads nowhere yet: the file appears where it leads.
    fs::create_symlink("synced/new.nib", folder.path("dangling.nib"));
    save_new_version(folder.path("dangling.nib"));
    EXPECT_EQ(read_bytes(folder.path("synced/new.nib")), new_bytes);
    EXPECT_TRUE(fs::is_symlink(folder.path("dangling.nib")));
}
#endif

}  // namespace
