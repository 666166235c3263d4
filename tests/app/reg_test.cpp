#include "app_test_support.h"

#include "harness/registry_guard.h"
#include "support/util.h"

#include <gtest/gtest.h>

namespace {

const std::string test_key = "Software\\Velmoran\\Scrivel Tests";
const std::string test_path = "HKEY_CURRENT_USER\\" + test_key + "\\";

class Registry : public ::testing::Test {
protected:
    harness::RegistryKeyGuard guard{HKEY_CURRENT_USER, test_key};
};

std::int32_t read_number(const std::string& name) {
    std::int32_t value = 7;
    read_dword(open_key(test_path, false).get(), name, value);
    return value;
}

}  // namespace

TEST_F(Registry, OpenKeyWalksFromARootName) {
    EXPECT_EQ(open_key("HKEY_CURRENT_USER\\", false).get(), HKEY_CURRENT_USER);
    EXPECT_FALSE(open_key("HKEY_CURRENT_CONFIG\\Software\\", true));
    EXPECT_FALSE(open_key("Software\\Velmoran\\", true));
    EXPECT_FALSE(open_key(test_path + "a\\b\\", false));
    EXPECT_FALSE(key_exists(HKEY_CURRENT_USER, test_key + "\\a"));
    EXPECT_TRUE(open_key(test_path + "a\\b\\", true));
    EXPECT_TRUE(open_key(test_path + "a\\b", false));
}

TEST_F(Registry, ReadsTakeOnlyValuesOfTheirOwnTypeAndARefusedWriteFails) {
    {
        RegistryKey writer = open_key(test_path, true);
        ASSERT_TRUE(writer);
        write_string(writer.get(), "", "default value");
        write_dword(writer.get(), "Number", -42);
        // Written by someone else: a string without its zero, a number of two bytes.
        RegSetValueExA(writer.get(), "Bare", 0, REG_SZ, reinterpret_cast<const BYTE*>("abc"), 3);
        const BYTE two_bytes[2] = {1, 2};
        RegSetValueExA(writer.get(), "Short", 0, REG_DWORD, two_bytes, 2);
    }
    EXPECT_EQ(read_text(test_path, ""), "default value");
    EXPECT_EQ(read_text(test_path, "Bare"), "abc");
    EXPECT_EQ(read_number("Number"), -42);
    // Missing values and values of another type or size leave the output alone.
    EXPECT_EQ(read_text(test_path, "Number") + read_text(test_path, "Missing"), "<missing><missing>");
    EXPECT_EQ(read_number("Bare"), 7);
    EXPECT_EQ(read_number("Short"), 7);

    try {
        RegistryKey reader = open_key(test_path, false);
        SetLastError(ERROR_FILE_NOT_FOUND);  // stale: the refusal's own number must be reported
        write_dword(reader.get(), "Number", 1);
        FAIL() << "no exception";
    } catch (const msg_exception& e) {
        EXPECT_EQ(e.title, "Unexpected error");
        EXPECT_NE(e.text.find("reg.cpp::"), std::string::npos) << e.text;
        EXPECT_TRUE(e.text.ends_with(" #" + std::to_string(ERROR_ACCESS_DENIED))) << e.text;
    }
}

TEST_F(Registry, DeleteKeyRemovesTheLastComponentOnly) {
    open_key(test_path + "leaf\\", true);
    delete_key(test_path + "leaf\\");
    EXPECT_FALSE(key_exists(HKEY_CURRENT_USER, test_key + "\\leaf"));
    EXPECT_TRUE(key_exists(HKEY_CURRENT_USER, test_key));
    // A missing key: its parent is made and nothing fails. A key with sub-keys stays.
    delete_key(test_path + "parent\\child\\");
    EXPECT_TRUE(key_exists(HKEY_CURRENT_USER, test_key + "\\parent"));
    open_key(test_path + "full\\inner\\", true);
    delete_key(test_path + "full\\");
    EXPECT_TRUE(key_exists(HKEY_CURRENT_USER, test_key + "\\full\\inner"));
}

namespace {

const std::string classes = "HKEY_CLASSES_ROOT\\";
const std::string app_paths = "SOFTWARE\\Microsoft\\Windows\\CurrentVersion\\App Paths\\scriveltest.exe";
const std::string uninstall = "SOFTWARE\\Microsoft\\Windows\\CurrentVersion\\Uninstall\\scriveltest";

class Registration : public ::testing::Test {
protected:
    harness::RegistryKeyGuard extension{HKEY_CLASSES_ROOT, ".scriveltest"};
    harness::RegistryKeyGuard file_class{HKEY_CLASSES_ROOT, "scriveltestfile"};
    harness::RegistryKeyGuard user_extension{HKEY_CURRENT_USER, "Software\\Classes\\.scriveltest"};
    harness::RegistryKeyGuard user_class{HKEY_CURRENT_USER, "Software\\Classes\\scriveltestfile"};
    harness::RegistryKeyGuard path_entry{HKEY_LOCAL_MACHINE, app_paths};
    harness::RegistryKeyGuard uninstall_entry{HKEY_LOCAL_MACHINE, uninstall};
    harness::RegistryKeyGuard user_path_entry{HKEY_CURRENT_USER, app_paths};
    harness::RegistryKeyGuard user_uninstall_entry{HKEY_CURRENT_USER, uninstall};
    std::string program = program_path();
    std::string registered;
};

}  // namespace

TEST_F(Registration, EntriesNameThisProgramInEitherPlaceAndGoAgainEntirely) {
    ASSERT_FALSE(program.empty());
    for (const RegistrationPlace* place : {&machine_registration, &user_registration}) {
        const std::string root = place == &machine_registration ? "HKEY_LOCAL_MACHINE\\" : "HKEY_CURRENT_USER\\";
        EXPECT_TRUE(register_association("scriveltest", "scriveltestfile", "Scrivel Test Pad", 2, *place));
        EXPECT_EQ(read_text(place->classes + ".scriveltest", ""), "scriveltestfile");
        EXPECT_EQ(read_text(place->classes + "scriveltestfile", ""), "Scrivel Test Pad");
        EXPECT_EQ(read_text(place->classes + "scriveltestfile\\DefaultIcon", ""), program + ",-2");
        EXPECT_EQ(read_text(place->classes + "scriveltestfile\\shell\\open\\command", ""), program + " \"%1\"");
        registered_program("scriveltestfile", registered);
        EXPECT_EQ(registered, program) << "the shell shows the user's classes too";
        EXPECT_TRUE(register_application("scriveltest", "Scrivel Test", *place));
        EXPECT_EQ(read_text(root + app_paths, ""), program);
        EXPECT_EQ(read_text(root + uninstall, "UninstallString"), program + " /u");

        unregister_association("scriveltest", "scriveltestfile");
        unregister_application("scriveltest");
        for (const std::string& left : {"." + std::string("scriveltest"), std::string("scriveltestfile")}) {
            EXPECT_FALSE(key_exists(HKEY_CLASSES_ROOT, left)) << left;
            EXPECT_FALSE(key_exists(HKEY_CURRENT_USER, "Software\\Classes\\" + left)) << left;
        }
        for (HKEY root_key : {HKEY_LOCAL_MACHINE, HKEY_CURRENT_USER}) {
            EXPECT_FALSE(key_exists(root_key, app_paths));
            EXPECT_FALSE(key_exists(root_key, uninstall));
        }
        registered_program("scriveltestfile", registered);
        EXPECT_EQ(registered, "");
    }
    // A place the registry refuses is reported, not passed for success.
    const RegistrationPlace refused{"HKEY_NOWHERE\\", "HKEY_NOWHERE\\", "HKEY_NOWHERE\\"};
    EXPECT_FALSE(register_association("scriveltest", "scriveltestfile", "Scrivel Test Pad", 2, refused));
    EXPECT_FALSE(register_application("scriveltest", "Scrivel Test", refused));
}

TEST_F(Registration, RegisteredProgramIsTheShortPathOfAnExistingFile) {
    TempDirectory directory;
    const std::string long_path = directory.create_file("Long Program Name.exe");
    const std::string command = classes + "scriveltestfile\\shell\\open\\command\\";
    write_string(open_key(command, true).get(), "", "\"" + long_path + "\" \"%1\"");
    registered_program("scriveltestfile", registered);
    EXPECT_EQ(registered, short_path(long_path));
    EXPECT_EQ(registered.find(' '), std::string::npos);

    write_string(open_key(command, true).get(), "", "\"" + directory.path() + "gone.exe\" \"%1\"");
    registered_program("scriveltestfile", registered);
    EXPECT_EQ(registered, "");
}
