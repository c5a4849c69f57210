// The one writer of the posix ports against real files: rights, links, a full disk, and the
// temporaries a killed writer leaves.
#include "platform/posix/posix_atomic_file.h"

#include <gtest/gtest.h>
#include <signal.h>
#include <sys/mount.h>
#include <sys/resource.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include <filesystem>
#include <set>

#include "base/app_error.h"
#include "platform/posix/posix_files.h"
#include "platform/posix/posix_temporary_name.h"
#include "support/error_of.h"
#include "support/temp_folder.h"

namespace qm {
namespace {

namespace fs = std::filesystem;

mode_t modeOf(const std::string& path) {
    struct stat st {};
    return ::stat(path.c_str(), &st) == 0 ? st.st_mode & 07777 : 0;
}

// A process id no process has any more.
pid_t finishedProcess() {
    const pid_t child = ::fork();
    if (child == 0) ::_exit(0);
    ::waitpid(child, nullptr, 0);
    return child;
}

class AtomicFileTest : public ::testing::Test {
protected:
    test::TempFolder folder{"qm_atomic"};
};

TEST_F(AtomicFileTest, RightsAreKeptGivenOrLeftToTheUmask) {
    const std::string path = folder.file("graphback.bmp");
    const mode_t oldMask = ::umask(022);
    EXPECT_EQ(replaceFile(path, "new"), 0);
    ::umask(oldMask);
    EXPECT_EQ(modeOf(path), 0644u) << "a new file: 0666 less the umask";
    ::chmod(path.c_str(), 0604);
    EXPECT_EQ(replaceFile(path, "second"), 0);
    EXPECT_EQ(modeOf(path), 0604u);
    EXPECT_EQ(replaceFile(path, "program", 0755), 0);
    EXPECT_EQ(modeOf(path), 0755u) << "a copy takes its source's rights";
    EXPECT_EQ(folder.content("graphback.bmp"), "program");
    EXPECT_EQ(folder.entries(), std::set<std::string>{"graphback.bmp"});
}

TEST_F(AtomicFileTest, LinksAreFollowedToTheirTargetAndStayLinks) {
    fs::create_directory(folder.file("real"));
    folder.put("real/settings.ini", "old");
    ASSERT_EQ(::symlink("real/settings.ini", folder.file("hop").c_str()), 0);  // relative
    ASSERT_EQ(::symlink(folder.file("hop").c_str(), folder.file("settings.ini").c_str()), 0);
    ASSERT_EQ(::symlink("real/later.ini", folder.file("dangling").c_str()), 0);
    EXPECT_EQ(replaceFile(folder.file("settings.ini"), "new"), 0);
    EXPECT_EQ(replaceFile(folder.file("dangling"), "made"), 0);
    EXPECT_TRUE(fs::is_symlink(folder.file("settings.ini")));
    EXPECT_TRUE(fs::is_symlink(folder.file("hop")));
    EXPECT_EQ(folder.content("real/settings.ini"), "new");
    EXPECT_EQ(folder.content("real/later.ini"), "made") << "a dangling link gets its file";
    ASSERT_EQ(::symlink("loop", folder.file("loop").c_str()), 0);
    EXPECT_EQ(replaceFile(folder.file("loop"), "x"), ELOOP);
}

TEST_F(AtomicFileTest, WhatIsNoOrdinaryFileIsNotReplaced) {
    fs::create_directory(folder.file("folder"));
    ASSERT_EQ(::mkfifo(folder.file("fifo").c_str(), 0644), 0);
    EXPECT_EQ(replaceFile(folder.file("folder"), "x"), EISDIR);
    EXPECT_EQ(replaceFile(folder.file("fifo"), "x"), EINVAL);
    EXPECT_EQ(readSmallFile(folder.file("fifo"), 100).state, ReadState::Unreadable);
    EXPECT_EQ(readSmallFile(folder.file("none"), 100).state, ReadState::Missing);
    EXPECT_EQ(folder.entries(), (std::set<std::string>{"fifo", "folder"}));
}

// A write the file system refuses part way (here the file size limit) leaves the old file.
TEST_F(AtomicFileTest, AFailingWriteLeavesTheOldFileWhole) {
    folder.put("cpuback.bmp", std::string(100, 'o'));
    const pid_t child = ::fork();
    if (child == 0) {
        ::signal(SIGXFSZ, SIG_IGN);
        const rlimit limit{1024, 1024};
        ::setrlimit(RLIMIT_FSIZE, &limit);
        ::_exit(replaceFile(folder.file("cpuback.bmp"), std::string(4096, 'n')) == EFBIG ? 0 : 1);
    }
    int status = -1;
    ::waitpid(child, &status, 0);
    EXPECT_TRUE(WIFEXITED(status) && WEXITSTATUS(status) == 0) << "the write must fail with EFBIG";
    EXPECT_EQ(folder.content("cpuback.bmp"), std::string(100, 'o'));
    EXPECT_EQ(folder.entries(), std::set<std::string>{"cpuback.bmp"}) << "the temporary is removed";
}

// The graphs' bitmaps on a full disk: the port reports "disk full" and the old bitmap stays.
TEST_F(AtomicFileTest, AFullDiskLeavesTheOldBitmap) {
    const std::string disk = folder.file("disk");
    fs::create_directory(disk);
    if (::mount("tmpfs", disk.c_str(), "tmpfs", 0, "size=64k") != 0) GTEST_SKIP() << "no tmpfs can be mounted here";
    const struct Unmount {
        std::string at;
        ~Unmount() { ::umount(at.c_str()); }
    } unmount{disk};
    const std::string bitmap = disk + "/graphback.bmp";
    PosixFiles files;
    ASSERT_EQ(test::errorOf([&] { files.writeAll(bitmap, std::string(20000, 'o')); }), 0);
    EXPECT_EQ(test::errorOf([&] { files.writeAll(bitmap, std::string(60000, 'n')); }), errDiskFull);
    EXPECT_EQ(folder.content("disk/graphback.bmp"), std::string(20000, 'o'));
    std::set<std::string> names;
    for (const auto& entry : fs::directory_iterator(disk)) names.insert(entry.path().filename());
    EXPECT_EQ(names, std::set<std::string>{"graphback.bmp"}) << "the temporary is removed";
}

TEST_F(AtomicFileTest, StaleTemporariesOfWritersThatAreGoneAreRemoved) {
    std::string mine;
    ::close(createTemporary(folder.file("settings.ini"), mine));
    const std::string gone = std::to_string(finishedProcess());
    const std::set<std::string> kept{
        fs::path(mine).filename(),      ".registry.ini.qmtmp-1-abcDE9",  // ours, and pid 1 runs
        ".settings.ini.qmtmp-" + gone + "-abc",  ".settings.ini.qmtmp-" + gone + "-abc!ef",
        "settings.ini.qmtmp-" + gone + "-abcdef", "settings.ini"};
    for (const std::string& name : kept)
        if (!fs::exists(folder.file(name))) folder.put(name, "x");
    fs::create_directory(folder.file(".folder.qmtmp-" + gone + "-abcdef"));
    folder.put(".graphback.bmp.qmtmp-" + gone + "-Q1w2E3", "half");
    folder.put(".settings.ini.qmtmp-" + gone + "-000000", "half");
    EXPECT_TRUE(isOurTemporaryName(".settings.ini.qmtmp-" + gone + "-000000"));
    EXPECT_FALSE(isOurTemporaryName("settings.ini"));

    PosixFiles files;
    files.removeStaleTemporaries(folder.path());
    std::set<std::string> expected = kept;
    expected.insert(".folder.qmtmp-" + gone + "-abcdef");
    EXPECT_EQ(folder.entries(), expected);
    EXPECT_EQ(removeStaleTemporaries(folder.path()), 0);
}

}  // namespace
}  // namespace qm
