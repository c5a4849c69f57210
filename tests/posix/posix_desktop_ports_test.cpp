// The posix files, clock, shell, internet and instance-lock ports against the real machine.
#include <gtest/gtest.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include <chrono>
#include <cstdlib>
#include <ctime>
#include <filesystem>
#include <fstream>
#include <set>
#include <thread>

#include "base/app_error.h"
#include "platform/posix/posix_clock.h"
#include "platform/posix/posix_files.h"
#include "platform/posix/posix_instance_lock.h"
#include "platform/posix/posix_internet.h"
#include "platform/posix/posix_shell.h"
#include "support/error_of.h"
#include "support/temp_folder.h"

namespace qm {
namespace {

constexpr uint64_t kAnyLength = 1u << 20;

namespace fs = std::filesystem;
using test::errorOf;

class PosixPortsTest : public ::testing::Test {
protected:
    std::string file(const std::string& name) const { return temp.file(name); }
    // A script that writes its arguments, one a line, to `out`.
    std::string recorder(const std::string& name, const std::string& out) {
        const std::string path = file(name);
        std::ofstream(path) << "#!/bin/sh\nfor a in \"$@\"; do echo \"$a\"; done > '" << out << "'\n";
        ::chmod(path.c_str(), 0755);
        return path;
    }
    static std::string waitForText(const std::string& path) {
        for (int i = 0; i < 200 && !fs::exists(path); ++i) std::this_thread::sleep_for(std::chrono::milliseconds(10));
        std::this_thread::sleep_for(std::chrono::milliseconds(20));
        std::ifstream in(path);
        return std::string(std::istreambuf_iterator<char>(in), {});
    }

    test::TempFolder temp{"qm ports"};  // a blank in the path, as in many home folders
    std::string folder = temp.path();
    PosixFiles files;
    PosixShell shell;
};

TEST_F(PosixPortsTest, FilesWriteAppendReadAndRemoveWithTheClassicErrors) {
    const std::string path = file("error");
    EXPECT_FALSE(files.fileExists(path));
    EXPECT_EQ(errorOf([&] { files.readAll(path, kAnyLength); }), errFileNotFound);
    EXPECT_EQ(errorOf([&] { files.fileLength(path); }), errFileNotFound);
    EXPECT_EQ(errorOf([&] { files.remove(path); }), errFileNotFound);
    EXPECT_EQ(errorOf([&] { files.writeAll(file("no such folder/x"), "a"); }), errPathNotFound);

    files.writeAll(path, std::string("one\r\n\0two", 9));
    files.append(path, "three");
    EXPECT_TRUE(files.fileExists(path));
    EXPECT_EQ(files.readAll(path, kAnyLength), std::string("one\r\n\0twothree", 14));
    EXPECT_EQ(files.fileLength(path), 14u);
    files.writeAll(path, "new");
    EXPECT_EQ(files.readAll(path, kAnyLength), "new");
    files.remove(path);
    EXPECT_FALSE(files.fileExists(path));

    EXPECT_FALSE(files.fileExists(folder));  // a folder is no file
    EXPECT_EQ(errorOf([&] { files.fileLength(folder); }), errPathFileAccess);
    EXPECT_EQ(errorOf([&] { files.writeAll(folder, "x"); }), errPathFileAccess);
}

// What is no ordinary file, or longer than the caller takes, is refused at once: neither a
// device that never ends nor a FIFO without a writer (or reader) may hang the program.
TEST_F(PosixPortsTest, ReadsAreBoundedAndOnlyOrdinaryFilesAreReadOrAppendedTo) {
    const std::string zero = file("zero"), fifo = file("fifo"), sized = file("sized");
    fs::create_symlink("/dev/zero", zero);
    ASSERT_EQ(::mkfifo(fifo.c_str(), 0644), 0);
    for (const std::string& path : {folder, zero, fifo}) {
        EXPECT_EQ(errorOf([&] { files.readAll(path, kAnyLength); }), errPathFileAccess) << path;
        EXPECT_EQ(errorOf([&] { files.append(path, "x"); }), errPathFileAccess) << path;
    }
    files.writeAll(sized, std::string(1000, 'a'));
    EXPECT_EQ(files.readAll(sized, 1000).size(), 1000u);
    EXPECT_EQ(errorOf([&] { files.readAll(sized, 999); }), errOutOfMemory);
    EXPECT_EQ(fs::file_size(sized), 1000u);
}

TEST(PosixFileErrors, ErrnoValuesMapToTheClassicNumbers) {
    EXPECT_EQ(fileErrorNumber(ENOENT), errFileNotFound);
    EXPECT_EQ(fileErrorNumber(ENOTDIR), errPathNotFound);
    EXPECT_EQ(fileErrorNumber(EACCES), errPermissionDenied);
    EXPECT_EQ(fileErrorNumber(EROFS), errPermissionDenied);
    EXPECT_EQ(fileErrorNumber(ENOSPC), errDiskFull);
    EXPECT_EQ(fileErrorNumber(EIO), errPathFileAccess);
}

TEST(PosixClockTest, NowIsTheLocalWallClockAndTheTickIsMonotonic) {
    PosixClock clock;
    const std::time_t t = std::time(nullptr);
    std::tm local{};
    localtime_r(&t, &local);
    const DateTime expected = makeDateTime(local.tm_year + 1900, local.tm_mon + 1, local.tm_mday, local.tm_hour,
                                           local.tm_min, local.tm_sec);
    EXPECT_NEAR(static_cast<double>(clock.now().ms), static_cast<double>(expected.ms), 2000.0);
    const uint32_t before = clock.tickCount();
    std::this_thread::sleep_for(std::chrono::milliseconds(30));
    const uint32_t elapsed = clock.tickCount() - before;
    EXPECT_GE(elapsed, 29u);
    EXPECT_LT(elapsed, 1000u);
}

TEST_F(PosixPortsTest, StartProgramKeepsAPathWithBlanksWholeAndPassesQuotedArguments) {
    const std::string out = file("args.txt");
    const std::string program = recorder("my program", out);
    shell.startProgram(program);  // unquoted: the whole line is the path
    EXPECT_EQ(waitForText(out), "");
    fs::remove(out);
    shell.startProgram("\"" + program + "\" -a b");
    EXPECT_EQ(waitForText(out), "-a\nb\n");
    EXPECT_EQ(errorOf([&] { shell.startProgram(file("missing")); }), errFileNotFound);
    std::ofstream(file("plain.txt")) << "text";
    EXPECT_EQ(errorOf([&] { shell.startProgram(file("plain.txt")); }), errFileNotFound);
}

TEST_F(PosixPortsTest, ShellExecuteOpensTheAddressWithTheDesktopOpener) {
    const std::string out = file("opened.txt");
    shell.opener = recorder("opener", out);
    EXPECT_GT(shell.shellExecute(false, "Open", "https://example.org/a b?x=$HOME", "", "C:\\", 1), 32);
    EXPECT_EQ(waitForText(out), "https://example.org/a b?x=$HOME\n");
    EXPECT_LE(shell.shellExecute(false, "print", "x", "", "", 1), 32);
    shell.opener = file("no opener");
    EXPECT_EQ(shell.shellExecute(false, "Open", "https://example.org", "", "", 1), 2);
}

TEST_F(PosixPortsTest, CopyFileSilentlyReplacesTheTargetWholeAndKeepsItRunnable) {
    const std::string source = file("qmx");
    std::ofstream(source) << "#!/bin/sh\necho new\n";
    ::chmod(source.c_str(), 0755);
    const std::string target = file("quillmere");
    std::ofstream(target) << "old";
    EXPECT_TRUE(shell.copyFileSilently(source, target));
    EXPECT_EQ(files.readAll(target, kAnyLength), "#!/bin/sh\necho new\n");
    struct stat st{};
    ASSERT_EQ(::stat(target.c_str(), &st), 0);
    EXPECT_EQ(st.st_mode & 0777, 0755u);
    EXPECT_FALSE(shell.copyFileSilently(file("missing"), target));
    EXPECT_EQ(files.readAll(target, kAnyLength), "#!/bin/sh\necho new\n");
    EXPECT_EQ(temp.entries(), (std::set<std::string>{"qmx", "quillmere"})) << "no temporary is left";
}

TEST(PosixInternetTest, EveryRequestGoesOverHttps) {
    EXPECT_EQ(httpsAddress("http://www.example.org/qmx.txt"), "https://www.example.org/qmx.txt");
    EXPECT_EQ(httpsAddress("https://www.example.org/"), "https://www.example.org/");
    PosixInternet internet;
    internet.connectTimeoutSeconds = 2;
    internet.timeoutSeconds = 4;
    // Other schemes are refused before anything is read.
    EXPECT_EQ(internet.openUrl("file:///etc/hostname"), "");
    EXPECT_FALSE(internet.probe("file:///etc/hostname"));
    EXPECT_FALSE(internet.probe("ftp://127.0.0.1/"));
    EXPECT_FALSE(internet.stillExecuting());
}

TEST_F(PosixPortsTest, TheInstanceLockIsHeldByOneCopyAtATime) {
    auto first = std::make_unique<InstanceLock>(folder);
    EXPECT_TRUE(first->acquire());
    InstanceLock second(folder);
    EXPECT_FALSE(second.acquire());
    first.reset();
    EXPECT_TRUE(second.acquire());
    EXPECT_TRUE(second.held());
}

// The holder is another process, as the ending program is for the upgrade's next start.
TEST_F(PosixPortsTest, TheInstanceLockIsWaitedForUntilItsHolderEndsButNotForever) {
    int ready[2];
    ASSERT_EQ(::pipe(ready), 0);
    const pid_t holder = ::fork();
    if (holder == 0) {
        InstanceLock lock(folder);
        const char held = lock.acquire() ? '1' : '0';
        (void)!::write(ready[1], &held, 1);
        ::usleep(400000);
        ::_exit(0);
    }
    char held = 0;
    ASSERT_EQ(::read(ready[0], &held, 1), 1);
    ASSERT_EQ(held, '1');
    InstanceLock next(folder);
    const auto begin = std::chrono::steady_clock::now();
    EXPECT_FALSE(next.acquireWithin(100));
    EXPECT_GE(std::chrono::steady_clock::now() - begin, std::chrono::milliseconds(100));
    EXPECT_TRUE(next.acquireWithin(10000)) << "taken once the holder has ended";
    EXPECT_LT(std::chrono::steady_clock::now() - begin, std::chrono::seconds(5));
    ::waitpid(holder, nullptr, 0);
    ::close(ready[0]), ::close(ready[1]);
}

TEST(UserRuntimeFolderTest, FallsBackToAPrivateFolderOfOurOwn) {
    const char* saved = std::getenv("XDG_RUNTIME_DIR");
    const std::string keep = saved ? saved : "";
    ::setenv("XDG_RUNTIME_DIR", "relative/path", 1);
    const std::string folder = userRuntimeFolder();
    EXPECT_EQ(folder, "/tmp/quillmere-" + std::to_string(::getuid()));
    struct stat st{};
    ASSERT_EQ(::stat(folder.c_str(), &st), 0);
    EXPECT_EQ(st.st_mode & 0777, 0700u);
    if (saved) ::setenv("XDG_RUNTIME_DIR", keep.c_str(), 1);
    else ::unsetenv("XDG_RUNTIME_DIR");
}

}  // namespace
}  // namespace qm
