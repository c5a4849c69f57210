// The case table of the pure profile functions, run against the real Windows functions
// (here under Wine): whatever the real functions answer, the pure ones must answer too.
//
// Where Wine is known to differ from Windows NT, the case says so in the table:
// wineDiffers (the expectation follows the record of Windows; Wine must still differ, so
// a change in Wine is noticed) and wineRewrites (Wine saves the whole file from its parsed
// form, so only the written value is compared, not the bytes around it).
#include "platform/win32/win32_profile.h"

#include <gtest/gtest.h>
#include <windows.h>

#include <fstream>
#include <iterator>

#include "platform/profile_text.h"
#include "support/profile_cases.h"
#include "support/temp_folder.h"

namespace qm {
namespace {

void put(const std::string& path, const std::string& text) {
    std::ofstream(path, std::ios::binary) << text;
}

std::string content(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
}

class RealProfileRead : public ::testing::TestWithParam<ProfileReadCase> {};

TEST_P(RealProfileRead, PureReaderAgreesWithWindows) {
    const ProfileReadCase& c = GetParam();
    test::TempFolder folder("qm_profile");  // a fresh name: Wine caches profile files by name
    std::string path = folder.file("settings.ini");
    put(path, c.file);
    Win32Profile real;
    std::string windows = real.getString(c.section, c.key, c.defaultValue, c.bufferSize, path);
    std::string pure = profileGetString(c.file, c.section, c.key, c.defaultValue, c.bufferSize);
    EXPECT_EQ(pure, c.expected);
    if (c.wineDiffers) {
        EXPECT_NE(windows, pure) << "Wine now agrees: drop the case's wineDiffers mark";
    } else {
        EXPECT_EQ(windows, pure);
    }
}

INSTANTIATE_TEST_SUITE_P(Files, RealProfileRead, ::testing::ValuesIn(profileReadCases()),
                         [](const auto& info) { return info.param.name; });

class RealProfileWrite : public ::testing::TestWithParam<ProfileWriteCase> {};

TEST_P(RealProfileWrite, PureWriterAgreesWithWindows) {
    const ProfileWriteCase& c = GetParam();
    test::TempFolder folder("qm_profile");
    std::string path = folder.file("settings.ini");
    put(path, c.file);
    Win32Profile real;
    ASSERT_TRUE(real.writeString(c.section, c.key, c.value, path));
    std::string windows = content(path);
    std::string pure = profileWriteString(c.file, c.section, c.key, c.value);
    if (!c.wineRewrites) {
        EXPECT_EQ(windows, pure);
    }
    EXPECT_EQ(profileGetString(windows, c.section, c.key, "-", 255),
              profileGetString(pure, c.section, c.key, "-", 255));
}

INSTANTIATE_TEST_SUITE_P(Files, RealProfileWrite, ::testing::ValuesIn(profileWriteCases()),
                         [](const auto& info) { return info.param.name; });

TEST(RealProfile, WriteToAMissingFolderFails) {
    Win32Profile real;
    test::TempFolder folder("qm_profile");
    std::string path = folder.file("missing\\settings.ini");
    EXPECT_FALSE(real.writeString("RAM", "Release", "1", path));
    EXPECT_EQ(real.getString("RAM", "Release", "0", 255, path), "0");
}

// What the system functions would read whole or write against the rules is left alone:
// the defaults hold and writes fail, the file keeps every byte. A NUL in the file does not
// cost the bytes after it.
TEST(RealProfile, FilesTheSystemWouldLoseAreNeitherTakenNorRewritten) {
    Win32Profile real;
    test::TempFolder folder("qm_profile");
    const std::string binary = folder.file("binary.ini"), readOnly = folder.file("readonly.ini");
    const std::string huge = folder.file("huge.ini"), inFolder = folder.file("folder.ini");
    put(binary, std::string("[RAM]\r\nRelease=3\r\n\0tail", 23));
    put(readOnly, "[RAM]\r\nRelease=3\r\n");
    SetFileAttributesA(readOnly.c_str(), FILE_ATTRIBUTE_READONLY);
    put(huge, "[RAM]\r\nRelease=3\r\n");
    HANDLE h = CreateFileA(huge.c_str(), GENERIC_WRITE, 0, nullptr, OPEN_EXISTING, 0, nullptr);
    LARGE_INTEGER size{};
    size.QuadPart = Win32Profile::kMaxFileSize + 1;
    SetFilePointerEx(h, size, nullptr, FILE_BEGIN);
    SetEndOfFile(h);
    CloseHandle(h);
    CreateDirectoryA(inFolder.c_str(), nullptr);
    EXPECT_EQ(real.getString("RAM", "Release", "0", 255, readOnly), "3") << "still read";
    EXPECT_FALSE(real.writeString("RAM", "Release", "9", readOnly));
    EXPECT_EQ(content(readOnly), "[RAM]\r\nRelease=3\r\n");
    ASSERT_TRUE(real.writeString("RAM", "Release", "9", binary));
    EXPECT_EQ(content(binary), std::string("[RAM]\r\nRelease=9\r\n\0tail", 23));
    for (const std::string& path : {huge, inFolder}) {
        EXPECT_EQ(real.getString("RAM", "Release", "0 ", 255, path), "0") << path << ": the default";
        EXPECT_FALSE(real.writeString("RAM", "Release", "9", path)) << path;
    }
    WIN32_FILE_ATTRIBUTE_DATA data{};
    GetFileAttributesExA(huge.c_str(), GetFileExInfoStandard, &data);
    EXPECT_EQ(data.nFileSizeLow, Win32Profile::kMaxFileSize + 1);
    SetFileAttributesA(readOnly.c_str(), FILE_ATTRIBUTE_NORMAL);
}

}  // namespace
}  // namespace qm
