// The Reg*A port against the real registry (under Wine, the prefix's), in a test key of
// the current user that is removed afterwards.
#include "platform/win32/win32_registry.h"

#include <gtest/gtest.h>
#include <windows.h>

#include <string>

namespace qm {
namespace {

class Win32RegistryTest : public ::testing::Test {
protected:
    void SetUp() override {
        path = "Software\\QuillmereTest" + std::to_string(GetCurrentProcessId());
        RegDeleteKeyA(HKEY_CURRENT_USER, path.c_str());
    }
    void TearDown() override { RegDeleteKeyA(HKEY_CURRENT_USER, path.c_str()); }

    std::string path;
    Win32Registry reg;
};

TEST_F(Win32RegistryTest, OpenNeverCreatesCreateDoesAndValuesRoundTrip) {
    RegHandle key = 0;
    EXPECT_EQ(reg.openKey(HKEY_CURRENT_USER_, path, KEY_WRITE_, key), ERROR_FILE_NOT_FOUND_);
    ASSERT_EQ(reg.createKey(HKEY_CURRENT_USER_, path, KEY_ALL_ACCESS_, key), ERROR_SUCCESS_);
    EXPECT_EQ(reg.setValue(key, "ver", RegValue{REG_SZ_, std::string("5\0", 2)}), ERROR_SUCCESS_);
    EXPECT_EQ(reg.setValue(key, "n", RegValue{REG_DWORD_, std::string("\x2a\0\0\0", 4)}), ERROR_SUCCESS_);
    EXPECT_EQ(reg.closeKey(key), ERROR_SUCCESS_);
    EXPECT_EQ(reg.closeKey(key), ERROR_INVALID_HANDLE) << "a closed handle is gone";

    ASSERT_EQ(reg.openKey(HKEY_CURRENT_USER_, path, KEY_READ_, key), ERROR_SUCCESS_);
    RegValue value;
    ASSERT_EQ(reg.queryValue(key, "VER", value, 255), ERROR_SUCCESS_);
    EXPECT_EQ(value.type, REG_SZ_);
    EXPECT_EQ(value.data, std::string("5\0", 2));
    ASSERT_EQ(reg.queryValue(key, "n", value, 255), ERROR_SUCCESS_);
    EXPECT_EQ(value.type, REG_DWORD_);
    EXPECT_EQ(value.data, std::string("\x2a\0\0\0", 4));
    EXPECT_EQ(reg.queryValue(key, "ver", value, 1), ERROR_MORE_DATA);
    EXPECT_EQ(reg.queryValue(key, "missing", value, 255), ERROR_FILE_NOT_FOUND_);
    EXPECT_NE(reg.setValue(key, "ver", RegValue{REG_SZ_, std::string("6\0", 2)}), ERROR_SUCCESS_)
        << "a key opened for reading is not written";
    reg.closeKey(key);
}

TEST_F(Win32RegistryTest, DeletingRemovesOneValue) {
    RegHandle key = 0;
    ASSERT_EQ(reg.createKey(HKEY_CURRENT_USER_, path, KEY_ALL_ACCESS_, key), ERROR_SUCCESS_);
    reg.setValue(key, "a", RegValue{REG_SZ_, std::string("1\0", 2)});
    reg.setValue(key, "b", RegValue{REG_SZ_, std::string("2\0", 2)});
    reg.closeKey(key);
    ASSERT_EQ(reg.openKey(HKEY_CURRENT_USER_, path, KEY_WRITE_, key), ERROR_SUCCESS_);
    EXPECT_EQ(reg.deleteValue(key, "a"), ERROR_SUCCESS_);
    EXPECT_EQ(reg.deleteValue(key, "a"), ERROR_FILE_NOT_FOUND_);
    reg.closeKey(key);
    char data[8] = {};
    DWORD size = sizeof data;
    EXPECT_EQ(RegGetValueA(HKEY_CURRENT_USER, path.c_str(), "b", RRF_RT_REG_SZ, nullptr, data, &size), ERROR_SUCCESS);
    EXPECT_STREQ(data, "2");
    EXPECT_EQ(reg.deleteValue(12345, "b"), ERROR_INVALID_HANDLE);
}

}  // namespace
}  // namespace qm
