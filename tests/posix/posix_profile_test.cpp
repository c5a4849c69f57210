// The posix profile port against real files in a temporary folder.
#include "platform/posix/posix_profile.h"

#include <gtest/gtest.h>
#include <sys/stat.h>
#include <unistd.h>

#include <filesystem>
#include <set>

#include "ordinary_user.h"
#include "platform/profile_encoding.h"
#include "support/temp_folder.h"

namespace qm {
namespace {

namespace fs = std::filesystem;
using test::expectThat;

class PosixProfileTest : public ::testing::Test {
protected:
    void put(const std::string& text) { folder.put("settings.ini", text); }
    std::string content() const { return folder.content("settings.ini"); }
    std::string read(const char* section, const char* key) {
        return profile.getString(section, key, "none", 255, path);
    }
    ino_t inode() const {
        struct stat st {};
        return ::stat(path.c_str(), &st) == 0 ? st.st_ino : 0;
    }

    test::TempFolder folder{"qm_profile"};
    PosixProfile profile;
    std::string path = folder.file("settings.ini");
};

TEST_F(PosixProfileTest, WritesCreateTheFileAndReadBack) {
    EXPECT_EQ(read("RAM", "Release"), "none");
    EXPECT_TRUE(profile.writeString("RAM", "Release", "3", path));
    EXPECT_TRUE(profile.writeString("Auto", "Minimum", "2", path));
    EXPECT_TRUE(profile.writeString("ram", "release", "4", path));
    EXPECT_EQ(content(), "[RAM]\r\nRelease=4\r\n[Auto]\r\nMinimum=2\r\n");
    EXPECT_EQ(read("RAM", "Release"), "4");
    EXPECT_EQ(read("AUTO", "minimum"), "2");
    EXPECT_EQ(folder.entries(), std::set<std::string>{"settings.ini"}) << "no temporary file left";
}

TEST_F(PosixProfileTest, KeepsTheRightsOfAnExistingFile) {
    put("[RAM]\r\nRelease=3\r\n");
    chmod(path.c_str(), 0640);
    EXPECT_TRUE(profile.writeString("RAM", "Release", "5", path));
    struct stat st {};
    ASSERT_EQ(stat(path.c_str(), &st), 0);
    EXPECT_EQ(st.st_mode & 07777, 0640u);
}

TEST_F(PosixProfileTest, WritesThroughASymbolicLink) {
    put("[RAM]\r\nRelease=3\r\n");
    std::string link = folder.file("link.ini");
    ASSERT_EQ(symlink(path.c_str(), link.c_str()), 0);
    EXPECT_TRUE(profile.writeString("RAM", "Release", "6", link));
    EXPECT_TRUE(fs::is_symlink(link));
    EXPECT_EQ(content(), "[RAM]\r\nRelease=6\r\n");
}

TEST_F(PosixProfileTest, GarbageFileReadsAsDefaultsAndKeepsItsBytes) {
    const char raw[] = "\x89PNG\0\x01\xff[[==]]\r\r\n\x1a";
    const std::string junk(raw, sizeof raw - 1);
    put(junk);
    EXPECT_EQ(read("RAM", "Release"), "none");
    EXPECT_TRUE(profile.writeString("RAM", "Release", "1", path));
    EXPECT_EQ(content(), junk + "\r\n[RAM]\r\nRelease=1\r\n");
}

// Notepad's "Unicode": the file is read in its encoding and stays in it, lines around the
// change (with characters no ANSI code page has) kept.
TEST_F(PosixProfileTest, AUtf16FileIsReadAndWrittenInItsOwnEncoding) {
    const std::string original = "; \xe2\x82\xac \xe6\x97\xa5\xe6\x9c\xac\r\n[RAM]\r\nRelease=3\r\n[Memory]\r\nCaption=Caf\xc3\xa9\r\n";
    put(std::string(kUtf16LeMark) + utf16LeFromUtf8(original));
    EXPECT_EQ(read("RAM", "Release"), "3");
    EXPECT_EQ(read("memory", "caption"), "Caf\xe9") << "an ANSI string to the caller";
    EXPECT_TRUE(profile.writeString("RAM", "Release", "12", path));
    EXPECT_TRUE(profile.writeString("Auto", "Minimum", "2", path));
    const std::string bytes = content();
    ASSERT_TRUE(isUtf16LeText(bytes));
    EXPECT_EQ(utf8FromUtf16Le(bytes.substr(2)),
              "; \xe2\x82\xac \xe6\x97\xa5\xe6\x9c\xac\r\n[RAM]\r\nRelease=12\r\n[Memory]\r\nCaption=Caf\xc3\xa9\r\n"
              "[Auto]\r\nMinimum=2\r\n");
    EXPECT_EQ(read("RAM", "Release"), "12");
}

TEST_F(PosixProfileTest, FolderAtThePathIsNoFile) {
    fs::create_directory(path);
    EXPECT_EQ(read("RAM", "Release"), "none");
    EXPECT_FALSE(profile.writeString("RAM", "Release", "1", path));
    EXPECT_TRUE(fs::is_directory(path));
    EXPECT_EQ(folder.entries(), std::set<std::string>{"settings.ini"});
}

TEST_F(PosixProfileTest, HugeFileIsTreatedAsAbsentAndNotReplaced) {
    put("[RAM]\r\nRelease=3\r\n");
    fs::resize_file(path, PosixProfile::kMaxFileSize + 1);  // sparse: costs no disk
    EXPECT_EQ(read("RAM", "Release"), "none");
    EXPECT_FALSE(profile.writeString("RAM", "Release", "4", path));
    EXPECT_EQ(fs::file_size(path), static_cast<uintmax_t>(PosixProfile::kMaxFileSize + 1));
}

TEST_F(PosixProfileTest, FileOfExactlyTheLimitIsRead) {
    put("[RAM]\r\nRelease=3\r\n");
    fs::resize_file(path, PosixProfile::kMaxFileSize);
    EXPECT_EQ(read("RAM", "Release"), "3");
}

TEST_F(PosixProfileTest, WriteToAMissingFolderFailsAndLeavesNothing) {
    put("[RAM]\r\nRelease=3\r\n");
    EXPECT_FALSE(profile.writeString("RAM", "Release", "9", folder.file("missing/settings.ini")));
    EXPECT_EQ(content(), "[RAM]\r\nRelease=3\r\n");
    EXPECT_EQ(folder.entries(), std::set<std::string>{"settings.ini"});
}

TEST_F(PosixProfileTest, UnreadableFileGivesDefaultAndIsNotReplaced) {
    put("[RAM]\r\nRelease=3\r\n");
    chmod(path.c_str(), 0200);
    EXPECT_EQ(test::asOrdinaryUser(folder.path(), [&] {
                  std::string failures;
                  expectThat(failures, read("RAM", "Release") == "none", "an unreadable file reads as defaults");
                  expectThat(failures, !profile.writeString("RAM", "Release", "9", path), "the write fails");
                  return failures;
              }),
              "");
    EXPECT_EQ(content(), "[RAM]\r\nRelease=3\r\n");
    EXPECT_EQ(folder.entries(), std::set<std::string>{"settings.ini"});
}

// As WritePrivateProfileString: a read-only file refuses the write (a rename would only have
// asked the folder), and a writable file in a read-only folder is updated where it is.
TEST_F(PosixProfileTest, TheFilesOwnWriteRightDecidesAsOnWindows) {
    put("[RAM]\r\nRelease=3\r\n");
    chmod(path.c_str(), 0444);
    EXPECT_EQ(test::asOrdinaryUser(folder.path(), [&] {
                  std::string failures;
                  expectThat(failures, read("RAM", "Release") == "3", "a read-only file is read");
                  expectThat(failures, !profile.writeString("RAM", "Release", "9", path), "a read-only file refuses");
                  return failures;
              }),
              "");
    EXPECT_EQ(content(), "[RAM]\r\nRelease=3\r\n");

    chmod(path.c_str(), 0644);
    chmod(folder.path().c_str(), 0555);
    const ino_t before = inode();
    EXPECT_EQ(test::asOrdinaryUser(folder.path(), [&] {
                  std::string failures;
                  expectThat(failures, profile.writeString("RAM", "Release", "12345", path), "longer value written");
                  expectThat(failures, profile.writeString("RAM", "Release", "7", path), "shorter value written");
                  return failures;
              }),
              "");
    EXPECT_EQ(content(), "[RAM]\r\nRelease=7\r\n");
    EXPECT_EQ(inode(), before) << "updated in place";
    EXPECT_EQ(folder.entries(), std::set<std::string>{"settings.ini"});
}

}  // namespace
}  // namespace qm
