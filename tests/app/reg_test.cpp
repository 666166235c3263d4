#include "registry_probe.h"

#include "harness/registry_guard.h"
#include "temp_directory.h"

#include "support/messages.h"
#include "support/reg.h"
#include "support/util.h"

#include <gtest/gtest.h>

namespace {

const char* const test_key = "Software\\Velmoran\\Scrivel Tests";
const std::string test_path = "HKEY_CURRENT_USER\\Software\\Velmoran\\Scrivel Tests\\";

class Registry : public ::testing::Test {
protected:
    harness::RegistryKeyGuard guard{HKEY_CURRENT_USER, test_key};
};

}  // namespace

TEST_F(Registry, OpenKeyWalksTheRootAndItsSubKeys) {
    EXPECT_EQ(open_key("HKEY_CURRENT_USER\\", false).get(), HKEY_CURRENT_USER);
    EXPECT_EQ(open_key("HKEY_CLASSES_ROOT", false).get(), HKEY_CLASSES_ROOT);
    EXPECT_FALSE(open_key("HKEY_CURRENT_CONFIG\\Software\\", true));
    EXPECT_FALSE(open_key("Software\\Velmoran\\", true));
    EXPECT_FALSE(open_key("", false));

    EXPECT_FALSE(open_key(test_path + "a\\b\\", false));
    EXPECT_FALSE(key_exists(HKEY_CURRENT_USER, std::string(test_key) + "\\a"));
    EXPECT_TRUE(open_key(test_path + "a\\b\\", true));
    EXPECT_TRUE(key_exists(HKEY_CURRENT_USER, std::string(test_key) + "\\a\\b"));
    EXPECT_TRUE(open_key(test_path + "a\\b\\", false));
    EXPECT_TRUE(open_key(test_path + "a\\b", false)) << "the trailing backslash is optional";
}

TEST_F(Registry, ValuesRoundTripAndWrongTypesLeaveTheOutputAlone) {
    {
        RegistryKey key = open_key(test_path, true);
        ASSERT_TRUE(key);
        write_string(key.get(), "Text", "MS Sans Serif");
        write_string(key.get(), "Empty", "");
        write_string(key.get(), "", "default value");
        write_dword(key.get(), "Number", -42);
    }
    RegistryKey key = open_key(test_path, false);
    ASSERT_TRUE(key);
    std::string text = "unchanged";
    std::int32_t number = 7;
    read_string(key.get(), "Text", text);
    read_dword(key.get(), "Number", number);
    EXPECT_EQ(text, "MS Sans Serif");
    EXPECT_EQ(number, -42);
    read_string(key.get(), "Empty", text);
    EXPECT_EQ(text, "");
    read_string(key.get(), "", text);
    EXPECT_EQ(text, "default value");

    text = "unchanged";
    number = 7;
    read_string(key.get(), "Number", text);
    read_dword(key.get(), "Text", number);
    read_string(key.get(), "Missing", text);
    read_dword(key.get(), "Missing", number);
    EXPECT_EQ(text, "unchanged");
    EXPECT_EQ(number, 7);
    EXPECT_FALSE(query_value(key.get(), "Text", REG_DWORD));
    ASSERT_TRUE(query_value(key.get(), "Text", REG_SZ));
    EXPECT_EQ(query_value(key.get(), "Text", REG_SZ)->size(), 14u);
}

TEST_F(Registry, ForeignlyWrittenDataIsReadSafely) {
    RegistryKey key = open_key(test_path, true);
    ASSERT_TRUE(key);
    // A string stored without its terminating zero, and a number of the wrong size.
    ASSERT_EQ(RegSetValueExA(key.get(), "Bare", 0, REG_SZ, reinterpret_cast<const BYTE*>("abc"), 3), ERROR_SUCCESS);
    const BYTE two_bytes[2] = {1, 2};
    ASSERT_EQ(RegSetValueExA(key.get(), "Short", 0, REG_DWORD, two_bytes, 2), ERROR_SUCCESS);
    RegistryKey reader = open_key(test_path, false);
    std::string text;
    std::int32_t number = 7;
    read_string(reader.get(), "Bare", text);
    read_dword(reader.get(), "Short", number);
    EXPECT_EQ(text, "abc");
    EXPECT_EQ(number, 7);
}

TEST_F(Registry, RefusedWriteIsAnUnexpectedError) {
    open_key(test_path, true);
    RegistryKey read_only = open_key(test_path, false);
    ASSERT_TRUE(read_only);
    try {
        write_dword(read_only.get(), "Number", 1);
        FAIL() << "no exception";
    } catch (const msg_exception& e) {
        EXPECT_EQ(e.title, "Unexpected error");
        EXPECT_NE(e.text.find("reg.cpp::"), std::string::npos) << e.text;
    }
}

TEST_F(Registry, DeleteKeyRemovesTheLastComponentOnly) {
    open_key(test_path + "leaf\\", true);
    delete_key(test_path + "leaf\\");
    EXPECT_FALSE(key_exists(HKEY_CURRENT_USER, std::string(test_key) + "\\leaf"));
    EXPECT_TRUE(key_exists(HKEY_CURRENT_USER, test_key));

    // A missing key: its parent is made, nothing fails.
    delete_key(test_path + "parent\\child\\");
    EXPECT_TRUE(key_exists(HKEY_CURRENT_USER, std::string(test_key) + "\\parent"));
    EXPECT_FALSE(key_exists(HKEY_CURRENT_USER, std::string(test_key) + "\\parent\\child"));

    // The system refuses a key that still has sub-keys; that is ignored.
    open_key(test_path + "full\\inner\\", true);
    delete_key(test_path + "full\\");
    EXPECT_TRUE(key_exists(HKEY_CURRENT_USER, std::string(test_key) + "\\full\\inner"));
}

namespace {

const char* const test_class = "scriveltestfile";
const char* const test_extension = "scriveltest";
const char* const test_application = "scriveltest";
const char* const app_paths = "SOFTWARE\\Microsoft\\Windows\\CurrentVersion\\App Paths\\scriveltest.exe";
const char* const uninstall = "SOFTWARE\\Microsoft\\Windows\\CurrentVersion\\Uninstall\\scriveltest";

std::string default_value(HKEY root, const std::string& path) {
    std::string value = "<missing>";
    HKEY key;
    if (RegOpenKeyExA(root, path.c_str(), 0, KEY_READ, &key) == ERROR_SUCCESS) {
        read_string(key, "", value);
        RegCloseKey(key);
    }
    return value;
}

class Registration : public ::testing::Test {
protected:
    void TearDown() override {
        RegDeleteTreeA(HKEY_CLASSES_ROOT, (std::string(".") + test_extension).c_str());
        RegDeleteTreeA(HKEY_CLASSES_ROOT, test_class);
        RegDeleteTreeA(HKEY_LOCAL_MACHINE, app_paths);
        RegDeleteTreeA(HKEY_LOCAL_MACHINE, uninstall);
    }
};

}  // namespace

TEST_F(Registration, AssociationNamesThisProgramAndGoesAgain) {
    std::string program = program_path();
    ASSERT_FALSE(program.empty());
    register_association(test_extension, test_class, "Scrivel Test Pad", 2);
    EXPECT_EQ(default_value(HKEY_CLASSES_ROOT, std::string(".") + test_extension), test_class);
    EXPECT_EQ(default_value(HKEY_CLASSES_ROOT, test_class), "Scrivel Test Pad");
    EXPECT_EQ(default_value(HKEY_CLASSES_ROOT, std::string(test_class) + "\\DefaultIcon"), program + ",-2");
    EXPECT_EQ(default_value(HKEY_CLASSES_ROOT, std::string(test_class) + "\\shell\\open\\command"),
              program + " \"%1\"");
    std::string registered;
    registered_program(test_class, registered);
    EXPECT_EQ(registered, program);

    unregister_association(test_extension, test_class);
    EXPECT_FALSE(key_exists(HKEY_CLASSES_ROOT, std::string(".") + test_extension));
    EXPECT_FALSE(key_exists(HKEY_CLASSES_ROOT, std::string(test_class) + "\\DefaultIcon"));
    EXPECT_FALSE(key_exists(HKEY_CLASSES_ROOT, std::string(test_class) + "\\shell\\open\\command"));
    registered_program(test_class, registered);
    EXPECT_EQ(registered, "");
}

TEST_F(Registration, RegisteredProgramIsTheShortPathOfAnExistingFile) {
    TempDirectory directory;
    std::string long_path = directory.create_file("Long Program Name.exe");
    std::string expected = short_path(long_path);
    ASSERT_FALSE(expected.empty());
    const std::string command = std::string("HKEY_CLASSES_ROOT\\") + test_class + "\\shell\\open\\command\\";

    write_string(open_key(command, true).get(), "", "\"" + long_path + "\" \"%1\"");
    std::string registered = "stale";
    registered_program(test_class, registered);
    EXPECT_EQ(registered, expected);

    write_string(open_key(command, true).get(), "", "\"" + directory.path() + "gone.exe\" \"%1\"");
    registered_program(test_class, registered);
    EXPECT_EQ(registered, "");

    registered = "stale";
    write_string(open_key(command, true).get(), "", "");
    registered_program(test_class, registered);
    EXPECT_EQ(registered, "");
}

TEST_F(Registration, ApplicationEntriesNameThisProgram) {
    std::string program = program_path();
    register_application(test_application, "Scrivel Test");
    EXPECT_EQ(default_value(HKEY_LOCAL_MACHINE, app_paths), program);
    HKEY key;
    ASSERT_EQ(RegOpenKeyExA(HKEY_LOCAL_MACHINE, uninstall, 0, KEY_READ, &key), ERROR_SUCCESS);
    std::string display, command;
    read_string(key, "DisplayName", display);
    read_string(key, "UninstallString", command);
    RegCloseKey(key);
    EXPECT_EQ(display, "Scrivel Test");
    EXPECT_EQ(command, program + " /u");

    unregister_application(test_application);
    EXPECT_FALSE(key_exists(HKEY_LOCAL_MACHINE, app_paths));
    EXPECT_FALSE(key_exists(HKEY_LOCAL_MACHINE, uninstall));
}
