#include "storage/mapfile.h"

#include "mapfile_test_support.h"

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <cerrno>
#include <cstring>

using ::testing::ElementsAre;

namespace {

class MapfileUpdate : public ::testing::Test {
protected:
    ScratchFolder folder;
    std::string file = folder.path("settings.map");
};

TEST_F(MapfileUpdate, CommitWritesEachKeyOnceInByteOrderWithNoStaleTail) {
    write_bytes(file, "b (3): old\nLONG (40): " + std::string(40, 'L') + "\nB (1): x\na (1): y\nb (3): two\n");
    {
        Mapfile map(file, Mapfile::update);
        EXPECT_EQ(map.get("b"), "two");  // the whole file was read: the later record holds
        EXPECT_EQ(map.get("LONG"), std::string(40, 'L'));
        map.put("b", "new");
        map.put_int("\xE9t\xE9", 5);  // bytes above 127 sort after the letters
        map.put("A", "");
        map.remove("LONG");
        map.remove("NOT THERE");
        EXPECT_EQ(map.get("b"), "new");
        EXPECT_THROW(map.get("LONG"), Mapfile::no_such_key);
        map.commit();
        EXPECT_EQ(read_bytes(file), "A (0): \nB (1): x\na (1): y\nb (3): new\n\xE9t\xE9 (1): 5\n");
        map.put("B", "again");
        map.commit();
    }
    EXPECT_EQ(read_bytes(file), "A (0): \nB (5): again\na (1): y\nb (3): new\n\xE9t\xE9 (1): 5\n");
    EXPECT_THAT(folder.entries(), ElementsAre("settings.map"));
}

TEST_F(MapfileUpdate, WithoutCommitTheFileIsUntouched) {
    write_bytes(file, "K (1): v\n");
    {
        Mapfile map(file, Mapfile::update);
        map.put("K", "changed");
        map.remove("K");
        map.put("NEW", "x");
    }
    EXPECT_EQ(read_bytes(file), "K (1): v\n");
    EXPECT_THAT(folder.entries(), ElementsAre("settings.map"));
}

TEST_F(MapfileUpdate, MissingOrMalformedFileCannotBeUpdated) {
    msg_exception e = thrown_by<Mapfile::file_error>([&] { Mapfile map(file, Mapfile::update); });
    EXPECT_EQ(e.text, "Could not open file " + file + ": " + std::strerror(ENOENT));
    EXPECT_EQ(e.title, "Could not save file");
    EXPECT_EQ(e.style, 16u);

    write_bytes(file, "K (1): v\nnot a record\n");
    e = thrown_by<Mapfile::file_error>([&] { Mapfile map(file, Mapfile::update); });
    EXPECT_EQ(e.text, "Error reading file " + file + ": File does not match format.");
    EXPECT_EQ(e.title, "Could not save file");
    EXPECT_EQ(read_bytes(file), "K (1): v\nnot a record\n");
}

TEST_F(MapfileUpdate, EmptyFileStartsAnEmptyMap) {
    write_bytes(file, "");
    Mapfile map(file, Mapfile::update);
    EXPECT_THROW(map.get("K"), Mapfile::no_such_key);
    map.put_double("PI", 3.141592653);
    map.commit();
    map.close();
    EXPECT_EQ(read_bytes(file), "PI (19):            3.141593\n");
    EXPECT_EQ(thrown_by<msg_exception>([&] { map.commit(); }).text, "File not open for updating.");
}

}  // namespace
