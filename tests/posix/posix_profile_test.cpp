// The posix profile port against real files in a temporary folder.
#include "platform/posix/posix_profile.h"

#include <gtest/gtest.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <set>

namespace qm {
namespace {

namespace fs = std::filesystem;

class PosixProfileTest : public ::testing::Test {
protected:
    void SetUp() override {
        std::string pattern = (fs::temp_directory_path() / "qm_profile_XXXXXX").string();
        ASSERT_NE(mkdtemp(pattern.data()), nullptr);
        folder = pattern;
        path = folder + "/settings.ini";
    }
    void TearDown() override {
        chmod(folder.c_str(), 0755);
        fs::remove_all(folder);
    }
    void put(const std::string& text) { std::ofstream(path, std::ios::binary) << text; }
    std::string content() const {
        std::ifstream in(path, std::ios::binary);
        return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
    }
    std::set<std::string> entries() const {
        std::set<std::string> names;
        for (const auto& e : fs::directory_iterator(folder)) names.insert(e.path().filename());
        return names;
    }
    std::string read(const char* section, const char* key) {
        return profile.getString(section, key, "none", 255, path);
    }

    PosixProfile profile;
    std::string folder;
    std::string path;
};

TEST_F(PosixProfileTest, WritesCreateTheFileAndReadBack) {
    EXPECT_EQ(read("RAM", "Release"), "none");
    EXPECT_TRUE(profile.writeString("RAM", "Release", "3", path));
    EXPECT_TRUE(profile.writeString("Auto", "Minimum", "2", path));
    EXPECT_TRUE(profile.writeString("ram", "release", "4", path));
    EXPECT_EQ(content(), "[RAM]\r\nRelease=4\r\n[Auto]\r\nMinimum=2\r\n");
    EXPECT_EQ(read("RAM", "Release"), "4");
    EXPECT_EQ(read("AUTO", "minimum"), "2");
    EXPECT_EQ(entries(), std::set<std::string>{"settings.ini"}) << "no temporary file left";
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
    std::string link = folder + "/link.ini";
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

TEST_F(PosixProfileTest, FolderAtThePathIsNoFile) {
    fs::create_directory(path);
    EXPECT_EQ(read("RAM", "Release"), "none");
    EXPECT_FALSE(profile.writeString("RAM", "Release", "1", path));
    EXPECT_TRUE(fs::is_directory(path));
    EXPECT_EQ(entries(), std::set<std::string>{"settings.ini"});
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

TEST_F(PosixProfileTest, FailedWriteLeavesTheOldFileAndNoTemporaryFile) {
    put("[RAM]\r\nRelease=3\r\n");
    std::string target = path;
    if (geteuid() == 0) {
        target = folder + "/missing/settings.ini";  // root ignores folder rights
    } else {
        ASSERT_EQ(chmod(folder.c_str(), 0555), 0);
    }
    EXPECT_FALSE(profile.writeString("RAM", "Release", "9", target));
    chmod(folder.c_str(), 0755);
    EXPECT_EQ(content(), "[RAM]\r\nRelease=3\r\n");
    EXPECT_EQ(entries(), std::set<std::string>{"settings.ini"});
}

TEST_F(PosixProfileTest, UnreadableFileGivesDefaultAndIsNotReplaced) {
    if (geteuid() == 0) GTEST_SKIP() << "root reads any file";
    put("[RAM]\r\nRelease=3\r\n");
    chmod(path.c_str(), 0);
    EXPECT_EQ(read("RAM", "Release"), "none");
    EXPECT_FALSE(profile.writeString("RAM", "Release", "9", path));
    chmod(path.c_str(), 0644);
    EXPECT_EQ(content(), "[RAM]\r\nRelease=3\r\n");
}

}  // namespace
}  // namespace qm
