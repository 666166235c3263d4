#include "app_test_support.h"

#include "harness/registry_guard.h"

#include <gtest/gtest.h>

// A refusal names its place in the code and the system's own error number.
TEST(Registry, ARefusedWriteIsReportedWithItsOwnError) {
    const harness::RegistryKeyGuard guard{HKEY_CURRENT_USER, "Software\\Velmoran\\Scrivel Tests"};
    const std::string path = "HKEY_CURRENT_USER\\Software\\Velmoran\\Scrivel Tests\\";
    open_key(path, true);
    try {
        RegistryKey reader = open_key(path, false);
        SetLastError(ERROR_FILE_NOT_FOUND);  // stale: the refusal's own number must be reported
        write_dword(reader.get(), "Number", 1);
        FAIL() << "no exception";
    } catch (const msg_exception& e) {
        EXPECT_EQ(e.title, "Unexpected error");
        EXPECT_NE(e.text.find("reg.cpp::"), std::string::npos) << e.text;
        EXPECT_TRUE(e.text.ends_with(" #" + std::to_string(ERROR_ACCESS_DENIED))) << e.text;
    }
}
