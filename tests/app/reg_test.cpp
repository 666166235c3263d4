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

}  // namespace

TEST_F(Registry, ReadsTakeOnlyValuesOfTheirOwnTypeAndARefusedWriteFails) {
    {
        RegistryKey writer = open_key(test_path, true);
        ASSERT_TRUE(writer);
        write_string(writer.get(), "", "default value");
        write_dword(writer.get(), "Number", -42);
        // Written by someone else: a string without its zero, a number of two bytes.
        RegSetValueExA(writer.get(), "Bare", 0, REG_SZ, reinterpret_cast<const BYTE*>("abc"), 3);
        RegSetValueExA(writer.get(), "Short", 0, REG_DWORD, reinterpret_cast<const BYTE*>("\1\2"), 2);
    }
    // Missing values and values of another type or size leave the output alone.
    const struct {
        const char* name;
        std::string text;
        std::int32_t number;
    } values[] = {
        {"", "default value", 7}, {"Bare", "abc", 7}, {"Number", "<missing>", -42},
        {"Short", "<missing>", 7}, {"Missing", "<missing>", 7},
    };
    for (const auto& value : values) {
        std::int32_t number = 7;
        read_dword(open_key(test_path, false).get(), value.name, number);
        EXPECT_EQ(number, value.number) << value.name;
        EXPECT_EQ(read_text(test_path, value.name), value.text) << value.name;
    }

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
