#include "app_test_support.h"

#include "harness/registry_guard.h"

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

TEST_F(Registry, KeysOpenFromARootNameAndDeleteTheirLastComponentOnly) {
    EXPECT_FALSE(open_key("HKEY_CURRENT_CONFIG\\Software\\", true)) << "not a root this program writes to";
    EXPECT_FALSE(open_key("Software\\Velmoran\\", true));
    EXPECT_FALSE(open_key(test_path + "a\\b\\", false));
    EXPECT_FALSE(key_exists(HKEY_CURRENT_USER, test_key + "\\a")) << "reading makes no key";
    EXPECT_TRUE(open_key(test_path + "a\\b\\", true));
    EXPECT_TRUE(open_key(test_path + "a\\b", false));

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
