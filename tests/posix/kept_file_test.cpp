// Kernel texts read through a descriptor kept open: each read sees the text as it is now,
// however long, and a path that fails is opened anew.
#include "platform/posix/kept_file.h"

#include <gtest/gtest.h>
#include <signal.h>
#include <sys/wait.h>
#include <unistd.h>

#include <fstream>

#include "support/temp_folder.h"

namespace qm::posix {
namespace {

void rewriteInPlace(const std::string& path, const std::string& text) {
    std::ofstream out(path, std::ios::binary | std::ios::trunc);
    out << text;
}

TEST(KeptFileTest, EveryReadIsTheWholeCurrentText) {
    test::TempFolder folder{"qm_kept"};
    const std::string path = folder.path() + "/meminfo";
    rewriteInPlace(path, "MemTotal: 1000 kB\n");
    KeptFile file(path);
    EXPECT_EQ(file.read(), "MemTotal: 1000 kB\n");
    // Shorter, then far longer than the first buffer: no tail of the old text is left.
    rewriteInPlace(path, "x");
    EXPECT_EQ(file.read(), "x");
    const std::string longText(10000, 'a');
    rewriteInPlace(path, longText + "end");
    EXPECT_EQ(file.read(), longText + "end");
    rewriteInPlace(path, "");
    EXPECT_EQ(file.read(), "");
}

TEST(KeptFileTest, AReadOfALiveKernelTextMatchesAFreshOpen) {
    KeptFile membership("/proc/self/cgroup");
    std::ifstream in("/proc/self/cgroup");
    const std::string fresh{std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
    EXPECT_EQ(membership.read(), fresh);
    EXPECT_EQ(membership.read(), fresh);  // a second read starts at the beginning again
}

TEST(KeptFileTest, APathThatFailsIsOpenedAgainOnTheNextRead) {
    test::TempFolder folder{"qm_kept"};
    const std::string path = folder.path() + "/memory.max";
    KeptFile file(path);
    EXPECT_EQ(file.read(), std::nullopt);  // not there yet
    rewriteInPlace(path, "max\n");
    EXPECT_EQ(file.read(), "max\n");

    KeptFile taken = std::move(file);
    EXPECT_EQ(taken.read(), "max\n");
    EXPECT_EQ(taken.path(), path);
}

// What the memory port relies on to notice a removed cgroup: a kept descriptor whose
// kernel object is gone reads nothing, never the old text.
TEST(KeptFileTest, ADescriptorOfAGoneKernelObjectReadsNothing) {
    const pid_t child = ::fork();
    if (child == 0) {
        ::pause();
        ::_exit(0);
    }
    ASSERT_GT(child, 0);
    KeptFile status("/proc/" + std::to_string(child) + "/status");
    const auto alive = status.read();
    ASSERT_TRUE(alive);
    EXPECT_NE(alive->find("Pid:\t" + std::to_string(child)), std::string_view::npos);
    ::kill(child, SIGKILL);
    ::waitpid(child, nullptr, 0);
    EXPECT_EQ(status.read(), std::nullopt);
}

}  // namespace
}  // namespace qm::posix
