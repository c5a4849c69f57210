// The Linux memory port: the kernel-text readers on recorded files, a recorded machine in
// a temporary folder, and real blocks written by the child process.
#include "platform/posix/posix_memory.h"

#include <gtest/gtest.h>
#include <signal.h>
#include <sys/wait.h>
#include <unistd.h>

#include <chrono>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <iterator>

#include "support/temp_folder.h"

namespace qm {
namespace {

namespace fs = std::filesystem;
using namespace qm::posix;

constexpr uint64_t MiB = 1024ull * 1024ull;

constexpr const char* kMeminfo =
    "MemTotal:       24683772 kB\n"
    "MemFree:        22929044 kB\n"
    "MemAvailable:   24241892 kB\n"
    "Buffers:            3728 kB\n"
    "Cached:          1464412 kB\n"
    "SwapCached:            0 kB\n"
    "Active(anon):         56 kB\n"
    "SwapTotal:       2097148 kB\n"
    "SwapFree:        1048572 kB\n"
    "HugePages_Total:       0\n"
    "Hugepagesize:       2048 kB\n";

std::string readFile(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
}

bool writeFile(const std::string& path, const std::string& text) {
    std::ofstream out(path, std::ios::binary);
    out << text;
    out.close();
    return !out.fail();
}

TEST(ProcMemoryText, MeminfoFields) {
    const auto info = parseMeminfo(kMeminfo);
    ASSERT_TRUE(info);
    EXPECT_EQ(info->memTotal, 24683772ull * 1024);
    EXPECT_EQ(info->memAvailable, 24241892ull * 1024);
    EXPECT_EQ(info->swapTotal, 2097148ull * 1024);
    EXPECT_EQ(info->swapFree, 1048572ull * 1024);
    EXPECT_EQ(info->memFree, 22929044ull * 1024);
    EXPECT_EQ(effectiveStatus(*info, {}).freePhys, 22929044ull * 1024) << "free memory, page cache excluded";
    EXPECT_EQ(effectiveStatus(*info, {{1024 * MiB, 900 * MiB}}).freePhys, 124 * MiB) << "within a group's headroom";
    EXPECT_EQ(kbField(kMeminfo, "Hugepagesize"), 2048ull * 1024);
    EXPECT_EQ(kbField(kMeminfo, "HugePages_Total"), 0u);
    EXPECT_FALSE(kbField(kMeminfo, "Active"));  // only whole names match
    EXPECT_FALSE(kbField(kMeminfo, "MemTota"));
}

TEST(ProcMemoryText, BrokenMeminfo) {
    // No final newline, and no swap lines: no swap.
    const auto cut = parseMeminfo("MemTotal: 1000 kB\nMemAvailable: 400 kB");
    ASSERT_TRUE(cut);
    EXPECT_EQ(cut->memAvailable, 400u * 1024);
    EXPECT_EQ(cut->swapTotal, 0u);
    // Older kernels without MemAvailable: free + buffers + cache.
    const auto old = parseMeminfo("MemTotal: 1000 kB\nMemFree: 100 kB\nBuffers: 20 kB\nCached: 300 kB\n");
    ASSERT_TRUE(old);
    EXPECT_EQ(old->memAvailable, 420u * 1024);
    EXPECT_FALSE(parseMeminfo("MemFree: 100 kB\nMemAvailable: 50 kB\n"));
    EXPECT_FALSE(parseMeminfo("MemTotal: 1000 kB\n"));
    EXPECT_FALSE(parseMeminfo("MemTotal: lots kB\nMemAvailable: 1 kB\n"));
    EXPECT_FALSE(parseMeminfo("MemTotal: 1000 MB\nMemAvailable: 1 kB\n"));
    EXPECT_FALSE(parseMeminfo("MemTotal: 99999999999999999999 kB\nMemAvailable: 1 kB\n"));
    EXPECT_FALSE(parseMeminfo(std::string("\0\xff\x01garbage", 11)));
    EXPECT_FALSE(parseMeminfo(""));
    // Any order; each field from its first line; only whole names match.
    const auto shuffled = parseMeminfo("SwapFree: 3 kB\nMemTotalX: 7 kB\nMemAvailable: 5 kB\nSwapTotal: 4 kB\n"
                                       "MemTotal: 9 kB\nMemTotal: 1 kB\nMemAvailable: 6 kB\n");
    ASSERT_TRUE(shuffled);
    EXPECT_EQ(shuffled->memTotal, 9u * 1024);
    EXPECT_EQ(shuffled->memAvailable, 5u * 1024);
    EXPECT_EQ(shuffled->swapFree, 3u * 1024);
    EXPECT_FALSE(parseMeminfo("MemTotal: x kB\nMemTotal: 9 kB\nMemAvailable: 5 kB\n")) << "a broken first line";
    EXPECT_EQ(parseMeminfo("MemTotal: 18446744073709551615 kB\nMemAvailable: 1 kB\n"), std::nullopt);
    EXPECT_EQ(parseMeminfo("MemTotal: 18014398509481983 kB\nMemAvailable: 1 kB\n")->memTotal,
              18014398509481983ull * 1024);
    // Never more available than there is.
    EXPECT_EQ(parseMeminfo("MemTotal: 10 kB\nMemAvailable: 50 kB\nSwapTotal: 1 kB\nSwapFree: 9 kB\n")->memAvailable,
              10u * 1024);
}

// The one-pass reader against a search per field, on recorded lines shuffled, repeated and
// broken: both take each field from its first line.
std::optional<Meminfo> perFieldSearch(std::string_view text) {
    const auto total = kbField(text, "MemTotal");
    auto available = kbField(text, "MemAvailable");
    if (!available) {
        const auto free = kbField(text, "MemFree");
        if (!free) return std::nullopt;
        available = *free + kbField(text, "Buffers").value_or(0) + kbField(text, "Cached").value_or(0);
    }
    if (!total) return std::nullopt;
    const uint64_t swapTotal = kbField(text, "SwapTotal").value_or(0);
    return Meminfo{*total, std::min(*available, *total), swapTotal,
                   std::min(kbField(text, "SwapFree").value_or(0), swapTotal)};
}

TEST(ProcMemoryText, OnePassReadsWhatASearchPerFieldFinds) {
    std::vector<std::string> lines;
    for (std::string_view rest = kMeminfo; !rest.empty();) {
        const size_t end = rest.find('\n');
        lines.emplace_back(rest.substr(0, end));
        rest.remove_prefix(end + 1);
    }
    for (const char* odd : {"MemTotal: 77 kB", "MemAvailable: x kB", "SwapFree: 5 MB", "MemFree 4 kB", "Cached:", ""}) {
        lines.emplace_back(odd);
    }
    std::srand(7);
    for (int round = 0; round < 500; ++round) {
        std::string text;
        const int count = std::rand() % 12;
        for (int i = 0; i < count; ++i) text += lines[static_cast<size_t>(std::rand()) % lines.size()] + "\n";
        if (round % 3 == 0 && !text.empty()) text.pop_back();
        const auto expected = perFieldSearch(text);
        const auto read = parseMeminfo(text);
        ASSERT_EQ(read.has_value(), expected.has_value()) << text;
        if (!read) continue;
        EXPECT_EQ(read->memTotal, expected->memTotal) << text;
        EXPECT_EQ(read->memAvailable, expected->memAvailable) << text;
        EXPECT_EQ(read->swapTotal, expected->swapTotal) << text;
        EXPECT_EQ(read->swapFree, expected->swapFree) << text;
    }
}

TEST(ProcMemoryText, CgroupMembership) {
    const auto v2 = parseCgroupPath("0::/user.slice/user-1000.slice/session-2.scope\n");
    EXPECT_EQ(v2.unified, "/user.slice/user-1000.slice/session-2.scope");
    EXPECT_FALSE(v2.memoryV1);
    const auto hybrid = parseCgroupPath(
        "9:name=systemd:/\n8:pids:/\n4:memory:/process_api/65c573c643b2f8b901ed8a22525c304b\n1:cpu:/\n0::/");
    EXPECT_EQ(hybrid.memoryV1, "/process_api/65c573c643b2f8b901ed8a22525c304b");
    EXPECT_EQ(hybrid.unified, "/");
    EXPECT_EQ(parseCgroupPath("5:cpu,memory,blkio:/docker/abc\n").memoryV1, "/docker/abc");
    EXPECT_FALSE(parseCgroupPath("5:memoryx:/a\n").memoryV1);
    const auto broken = parseCgroupPath("garbage\n0:\n0::\n4:memory\n::::\n");
    EXPECT_FALSE(broken.unified);
    EXPECT_FALSE(broken.memoryV1);
}

TEST(ProcMemoryText, LimitFilesAndFolders) {
    EXPECT_EQ(parseBytes("268435456\n"), 268435456u);
    EXPECT_EQ(parseBytes("9223372036854771712"), 9223372036854771712u);  // v1's "no limit"
    EXPECT_FALSE(parseBytes("max\n"));
    EXPECT_FALSE(parseBytes("12ab\n"));
    EXPECT_FALSE(parseBytes(""));
    EXPECT_FALSE(parseBytes("184467440737095516160\n"));
    EXPECT_EQ(cgroupDirs("/sys/fs/cgroup", "/a/b/"),
              (std::vector<std::string>{"/sys/fs/cgroup/a/b", "/sys/fs/cgroup/a", "/sys/fs/cgroup"}));
    EXPECT_EQ(cgroupDirs("/sys/fs/cgroup", "/"), std::vector<std::string>{"/sys/fs/cgroup"});
}

TEST(ProcMemoryText, TightestLimitAndSafeBudget) {
    const Meminfo info{4096 * MiB, 3000 * MiB, 1024 * MiB, 1024 * MiB};
    const MemoryStatus free = effectiveStatus(info, {});
    EXPECT_EQ(free.totalPhys, 4096 * MiB);
    EXPECT_EQ(free.totalPageFile, 5120 * MiB);  // RAM plus swap
    EXPECT_EQ(free.availPageFile, 4024 * MiB);
    EXPECT_EQ(safeBudget(info, {}), 4024 * MiB - 4096 * MiB / kMarginDivisor);

    const std::vector<CgroupLevel> levels{{UINT64_MAX / 2, 10 * MiB}, {256 * MiB, 56 * MiB}, {1024 * MiB, 900 * MiB}};
    const MemoryStatus capped = effectiveStatus(info, levels);
    EXPECT_EQ(capped.totalPhys, 256 * MiB);
    EXPECT_EQ(capped.availPhys, 124 * MiB);  // the outer level has less headroom than the inner
    EXPECT_EQ(safeBudget(info, levels), 124 * MiB - 256 * MiB / kMarginDivisor);
    EXPECT_EQ(safeBudget(info, {{256 * MiB, 250 * MiB}}), 0u);  // less room than the margin
    EXPECT_EQ(effectiveStatus(info, {{256 * MiB, 300 * MiB}}).availPhys, 0u);  // over the limit
}

TEST(ProcMemoryText, ALimitOfTwiceTheRamAndTheSwapBindsNothing) {
    const Meminfo info{4096 * MiB, 3000 * MiB, 1024 * MiB, 1000 * MiB};
    const uint64_t boundless = boundlessLimit(info);
    EXPECT_EQ(boundless, 9216 * MiB);
    // Even with all of the RAM in use, such a level changes neither figure.
    const std::vector<CgroupLevel> full{{boundless, info.memTotal}};
    EXPECT_EQ(effectiveStatus(info, full).availPhys, effectiveStatus(info, {}).availPhys);
    EXPECT_EQ(effectiveStatus(info, full).totalPhys, effectiveStatus(info, {}).totalPhys);
    EXPECT_EQ(safeBudget(info, full), safeBudget(info, {}));
    EXPECT_LT(safeBudget(info, {{boundless - 2048 * MiB, info.memTotal}}), safeBudget(info, {}));
    EXPECT_EQ(boundlessLimit({UINT64_MAX, 0, UINT64_MAX, 0}), UINT64_MAX);
}

// A machine recorded in a temporary folder: /proc and /sys/fs/cgroup.
class RecordedMachine : public ::testing::Test {
protected:
    void SetUp() override {
        fs::create_directories(root + "/proc/self");
        fs::create_directories(root + "/cgroup");
    }
    void put(const std::string& relative, const std::string& text) {
        fs::create_directories(fs::path(root + relative).parent_path());
        ASSERT_TRUE(writeFile(root + relative, text));
    }
    PosixMemory memory() { return PosixMemory(root + "/proc", root + "/cgroup"); }
    test::TempFolder folder{"qm_memory"};
    std::string root = folder.path();
};

TEST_F(RecordedMachine, UnifiedLimitsAreWalkedUpward) {
    put("/proc/meminfo", "MemTotal: 4194304 kB\nMemAvailable: 3145728 kB\nSwapTotal: 0 kB\nSwapFree: 0 kB\n");
    put("/proc/self/cgroup", "0::/app/job\n");
    put("/cgroup/app/job/memory.max", "max\n");
    put("/cgroup/app/job/memory.current", "104857600\n");
    put("/cgroup/app/memory.max", "536870912\n");
    put("/cgroup/app/memory.current", "209715200\n");
    const MemoryStatus status = memory().status();
    EXPECT_EQ(status.totalPhys, 512 * MiB);
    EXPECT_EQ(status.availPhys, 312 * MiB);
    EXPECT_EQ(status.totalPageFile, 512 * MiB);
}

TEST_F(RecordedMachine, VersionOneMemoryLimits) {
    put("/proc/meminfo", "MemTotal: 4194304 kB\nMemAvailable: 3145728 kB\nSwapTotal: 1048576 kB\nSwapFree: 524288 kB\n");
    put("/proc/self/cgroup", "4:memory:/job\n0::/\n");
    put("/cgroup/memory/job/memory.limit_in_bytes", "1073741824\n");
    put("/cgroup/memory/job/memory.usage_in_bytes", "garbage");  // unreadable usage: no headroom
    put("/cgroup/memory/memory.limit_in_bytes", "9223372036854771712\n");
    put("/cgroup/memory/memory.usage_in_bytes", "1000\n");
    const MemoryStatus status = memory().status();
    EXPECT_EQ(status.totalPhys, 1024 * MiB);
    EXPECT_EQ(status.availPhys, 0u);
    EXPECT_EQ(status.totalPageFile, 2048 * MiB);
    EXPECT_EQ(status.availPageFile, 512 * MiB);
}

// The usage of a level that binds nothing is not read: a broken one there costs nothing.
// Nor is its limit, but with the membership every few readings.
TEST_F(RecordedMachine, ALevelThatBindsNothingIsLookedAtOnlyWithTheMembership) {
    put("/proc/meminfo", "MemTotal: 4194304 kB\nMemAvailable: 3145728 kB\nSwapTotal: 0 kB\nSwapFree: 0 kB\n");
    put("/proc/self/cgroup", "4:memory:/job\n");
    put("/cgroup/memory/job/memory.limit_in_bytes", "9223372036854771712\n");
    put("/cgroup/memory/job/memory.usage_in_bytes", "garbage");
    put("/cgroup/memory/memory.limit_in_bytes", "8589934592\n");  // exactly twice the RAM
    put("/cgroup/memory/memory.usage_in_bytes", "garbage");
    PosixMemory port = memory();
    EXPECT_EQ(port.status().availPhys, 3072 * MiB);
    put("/cgroup/memory/memory.limit_in_bytes", "8589934591\n");  // one byte less: it binds
    int readings = 1;
    while (port.status().availPhys != 0 && readings <= PosixMemory::kMembershipEvery) ++readings;
    EXPECT_GT(readings, 1) << "not at the next reading";
    EXPECT_LE(readings, PosixMemory::kMembershipEvery);
    put("/cgroup/memory/memory.limit_in_bytes", "8589934592\n");
    EXPECT_EQ(port.status().availPhys, 3072 * MiB) << "a binding limit is read each time";
}

// One port read tick after tick, as the gauges do: every reading is the machine as it is
// then, also when a limit changes or is lifted; a limit set where there was none, and a
// move to another group, show within the readings between two looks at the membership,
// and at once for a block to be written.
TEST_F(RecordedMachine, EachReadingFollowsLimitsAndMovesBetweenGroups) {
    put("/proc/meminfo", "MemTotal: 4194304 kB\nMemAvailable: 3145728 kB\n");
    put("/proc/self/cgroup", "0::/app/job\n");
    put("/cgroup/app/job/memory.max", "max\n");
    put("/cgroup/app/job/memory.current", "104857600\n");
    put("/cgroup/other/memory.max", "268435456\n");
    put("/cgroup/other/memory.current", "67108864\n");
    PosixMemory port = memory();
    EXPECT_EQ(port.status().totalPhys, 4096 * MiB);
    auto readingsUntil = [&](uint64_t total) {
        int readings = 1;
        while (port.status().totalPhys != total && readings <= PosixMemory::kMembershipEvery) ++readings;
        return readings;
    };

    put("/cgroup/app/job/memory.max", "1073741824\n");
    EXPECT_LE(readingsUntil(1024 * MiB), PosixMemory::kMembershipEvery);
    put("/cgroup/app/job/memory.max", "2147483648\n");
    EXPECT_EQ(port.status().totalPhys, 2048 * MiB);
    put("/cgroup/app/job/memory.max", "1073741824\n");
    EXPECT_EQ(port.status().totalPhys, 1024 * MiB);
    EXPECT_EQ(port.status().availPhys, 924 * MiB);
    put("/cgroup/app/job/memory.current", "1048576000\n");
    EXPECT_EQ(port.status().availPhys, 24 * MiB);
    put("/proc/meminfo", "MemTotal: 4194304 kB\nMemAvailable: 10240 kB\n");
    EXPECT_EQ(port.status().availPhys, 10 * MiB);
    put("/proc/meminfo", "MemTotal: 4194304 kB\nMemAvailable: 3145728 kB\n");

    put("/proc/self/cgroup", "0::/other\n");
    EXPECT_LE(readingsUntil(256 * MiB), PosixMemory::kMembershipEvery);
    EXPECT_EQ(port.status().availPhys, 192 * MiB);
    put("/cgroup/other/memory.max", "max\n");
    EXPECT_EQ(port.status().totalPhys, 4096 * MiB);
    put("/proc/self/cgroup", "garbage");
    EXPECT_EQ(port.status().totalPhys, 4096 * MiB);

    put("/cgroup/app/job/memory.max", "268435456\n");
    put("/proc/self/cgroup", "0::/app/job\n");
    port.status();
    put("/proc/self/cgroup", "0::/other\n");
    port.touchBlock(0);
    EXPECT_EQ(readingsUntil(4096 * MiB), 1) << "the block looked at the membership";
}

TEST_F(RecordedMachine, UnreadableMeminfoGivesAnEmptyStatus) {
    put("/proc/meminfo", "nothing here");
    EXPECT_EQ(memory().status().totalPhys, 0u);
}

TEST_F(RecordedMachine, GoalBeyondTheBudgetIsWrittenUpToItQuickly) {
    // 1 GB of RAM, 200 MB of it available, no swap: a goal of ten times the RAM.
    put("/proc/meminfo", "MemTotal: 1048576 kB\nMemAvailable: 204800 kB\n");
    put("/proc/self/cgroup", "0::/\n");
    PosixMemory port = memory();
    const auto started = std::chrono::steady_clock::now();
    EXPECT_EQ(port.touchBlock(10 * 1024 * MiB), TouchResult::Written);
    EXPECT_LT(std::chrono::steady_clock::now() - started, std::chrono::seconds(10));
    const uint64_t budget = 200 * MiB - 1024 * MiB / kMarginDivisor;
    EXPECT_EQ(port.lastTouch().bytesWritten, budget);
    EXPECT_EQ(port.lastTouch().exitCode, 1);
    EXPECT_EQ(port.lastTouch().signal, 0);

    // Less available than the margin: nothing is written, and the step is no attempt.
    put("/proc/meminfo", "MemTotal: 1048576 kB\nMemAvailable: 40960 kB\n");
    EXPECT_EQ(port.touchBlock(64 * MiB), TouchResult::NotEnoughMemory);
    EXPECT_EQ(port.lastTouch().bytesWritten, 0u);
}

TEST(PosixMemory, RealMachineStatusIsConsistent) {
    PosixMemory port;
    const MemoryStatus status = port.status();
    EXPECT_GT(status.totalPhys, 64 * MiB);
    EXPECT_LE(status.availPhys, status.totalPhys);
    EXPECT_GE(status.totalPageFile, status.totalPhys);
    EXPECT_GE(status.availPageFile, status.availPhys);
}

uint64_t ownPeakRss() { return kbField(readFile("/proc/self/status"), "VmHWM").value_or(0); }

TEST(PosixMemory, BlockIsReallyWrittenInTheChild) {
    PosixMemory port;
    const uint64_t before = ownPeakRss();
    ASSERT_EQ(port.touchBlock(64 * MiB), TouchResult::Written);
    const TouchReport& report = port.lastTouch();
    EXPECT_EQ(report.exitCode, 0);
    EXPECT_EQ(report.bytesWritten, 64 * MiB);
    // The child's resident size grew by the whole block: the fill was not optimised away.
    EXPECT_GE(report.peakRss, report.baselineRss + 64 * MiB);
    // ... and it grew in the child, not here.
    EXPECT_LT(ownPeakRss(), before + 16 * MiB);
}

uint64_t rssOf(pid_t pid) { return kbField(readFile("/proc/" + std::to_string(pid) + "/status"), "VmRSS").value_or(0); }

TEST(PosixMemory, AHeldBlockStaysWrittenInAChildTheKillerTakesFirstUntilItIsDropped) {
    PosixMemory port;
    std::unique_ptr<HeldBlock> held = port.holdBlock(48 * MiB);
    ASSERT_NE(held, nullptr);
    const pid_t child = dynamic_cast<PosixHeldBlock&>(*held).pid();
    EXPECT_EQ(port.lastTouch().bytesWritten, 48 * MiB);
    EXPECT_GE(rssOf(child), 48 * MiB) << "still resident while held";
    EXPECT_EQ(readFile("/proc/" + std::to_string(child) + "/oom_score_adj"), "1000\n");

    // A second block while the first is held: both children live at once.
    std::unique_ptr<HeldBlock> next = port.holdBlock(16 * MiB);
    ASSERT_NE(next, nullptr);
    EXPECT_EQ(::kill(child, 0), 0);
    held.reset();
    EXPECT_NE(::kill(child, 0), 0) << "dropping the handle ends its child at once";
    next.reset();
}

// The process's state as /proc shows it ('Z' a zombie, whose memory is already returned;
// '?' when it is gone).
char stateOf(pid_t pid) {
    const std::string stat = readFile("/proc/" + std::to_string(pid) + "/stat");
    const size_t close = stat.rfind(')');
    return close == std::string::npos || close + 2 >= stat.size() ? '?' : stat[close + 2];
}

// A program killed while its writer works (kill -9, a crash, the OOM killer) takes the
// writer with it: an orphan would go on writing gigabytes nobody asked for.
TEST(PosixMemory, TheWriterEndsWithTheProgramThatStartedIt) {
    struct Case {
        const char* name;
        bool hold;
        uint64_t bytes;
    };
    const Case cases[] = {{"a block still being written", false, 4096 * MiB}, {"a held block", true, 32 * MiB}};
    for (const Case& c : cases) {
        int pipeFds[2];
        ASSERT_EQ(::pipe(pipeFds), 0);
        const pid_t program = ::fork();
        ASSERT_GE(program, 0);
        if (program == 0) {
            PosixMemory port;
            std::unique_ptr<BlockJob> job = port.beginBlock(c.bytes, c.hold);
            std::unique_ptr<HeldBlock> held;
            if (c.hold) job->wait(), held = job->held();
            const std::string children = readFile("/proc/self/task/" + std::to_string(::getpid()) + "/children");
            const pid_t writer = std::atoi(children.c_str());
            [[maybe_unused]] ssize_t sent = ::write(pipeFds[1], &writer, sizeof writer);
            ::pause();
            ::_exit(0);
        }
        ::close(pipeFds[1]);
        pid_t writer = 0;
        ASSERT_EQ(::read(pipeFds[0], &writer, sizeof writer), static_cast<ssize_t>(sizeof writer)) << c.name;
        ::close(pipeFds[0]);
        ASSERT_GT(writer, 0) << c.name;
        EXPECT_NE(stateOf(writer), '?') << c.name << ": the writer runs";
        ::kill(program, SIGKILL);
        ::waitpid(program, nullptr, 0);
        const auto deadline = std::chrono::steady_clock::now() + std::chrono::seconds(1);
        while (stateOf(writer) != '?' && stateOf(writer) != 'Z' && std::chrono::steady_clock::now() < deadline) {
            ::usleep(10000);
        }
        const char state = stateOf(writer);
        EXPECT_TRUE(state == '?' || state == 'Z') << c.name << ": the writer is still there, state " << state;
    }
}

TEST_F(RecordedMachine, AHeldBlockIsWrittenOnlyUpToTheBudgetAndNoRoomHoldsNothing) {
    put("/proc/meminfo", "MemTotal: 1048576 kB\nMemAvailable: 204800 kB\n");
    put("/proc/self/cgroup", "0::/\n");
    PosixMemory port = memory();
    std::unique_ptr<HeldBlock> held = port.holdBlock(2048 * MiB);
    ASSERT_NE(held, nullptr);
    EXPECT_EQ(port.lastTouch().bytesWritten, 200 * MiB - 1024 * MiB / kMarginDivisor);
    held.reset();
    put("/proc/meminfo", "MemTotal: 1048576 kB\nMemAvailable: 40960 kB\n");
    EXPECT_EQ(port.holdBlock(64 * MiB), nullptr);
    EXPECT_EQ(port.lastTouch().bytesWritten, 0u);
}

// ---- end to end in a small memory cgroup ------------------------------------

struct SmallCgroup {
    std::string dir, events;
};

uint64_t oomKills(const std::string& events) {
    const std::string text = readFile(events);
    const size_t at = text.find("oom_kill ");
    return at == std::string::npos ? 0 : std::strtoull(text.c_str() + at + 9, nullptr, 10);
}

// A child group limited to 256 MB without swap, in v2 or v1; empty where not allowed.
std::optional<SmallCgroup> makeSmallCgroup() {
    const auto paths = parseCgroupPath(readFile("/proc/self/cgroup"));
    const std::string name = "/qm-memory-test-" + std::to_string(::getpid());
    const std::string v2 = "/sys/fs/cgroup";
    if (readFile(v2 + "/cgroup.controllers").find("memory") != std::string::npos) {
        writeFile(v2 + "/cgroup.subtree_control", "+memory");
        if (fs::create_directory(v2 + name) && writeFile(v2 + name + "/memory.max", "268435456")) {
            writeFile(v2 + name + "/memory.swap.max", "0");
            return SmallCgroup{v2 + name, v2 + name + "/memory.events"};
        }
        ::rmdir((v2 + name).c_str());
    }
    if (!paths.memoryV1) return std::nullopt;
    const std::string dir = "/sys/fs/cgroup/memory" + (*paths.memoryV1 == "/" ? "" : *paths.memoryV1) + name;
    std::error_code ignored;
    if (!fs::create_directory(dir, ignored)) return std::nullopt;
    if (!writeFile(dir + "/memory.limit_in_bytes", "268435456")) return ::rmdir(dir.c_str()), std::nullopt;
    writeFile(dir + "/memory.memsw.limit_in_bytes", "268435456");
    return SmallCgroup{dir, dir + "/memory.oom_control"};
}

struct HelperReport {
    TouchResult result = TouchResult::NotEnoughMemory;
    TouchReport touch;
    MemoryStatus status;
    double seconds = 0;
};

// Runs in a forked helper: joins the group, then touches a block ten times its size.
[[noreturn]] void helper(const SmallCgroup& group, int fd) {
    if (!writeFile(group.dir + "/cgroup.procs", std::to_string(::getpid()))) ::_exit(90);
    PosixMemory port;
    HelperReport report;
    report.status = port.status();
    const auto started = std::chrono::steady_clock::now();
    report.result = port.touchBlock(1024 * MiB);
    report.seconds = std::chrono::duration<double>(std::chrono::steady_clock::now() - started).count();
    report.touch = port.lastTouch();
    ::_exit(::write(fd, &report, sizeof report) == sizeof report ? 0 : 91);
}

TEST(PosixMemoryCgroup, GoalBeyondASmallCgroupKillsNothing) {
    const auto group = makeSmallCgroup();
    if (!group) GTEST_SKIP() << "no writable memory cgroup (v2 with the memory controller, or v1) here";
    int fds[2];
    ASSERT_EQ(::pipe(fds), 0);
    const pid_t pid = ::fork();
    if (pid == 0) helper(*group, fds[1]);
    ::close(fds[1]);
    HelperReport report;
    const bool got = ::read(fds[0], &report, sizeof report) == sizeof report;
    ::close(fds[0]);
    int status = 0;
    ::waitpid(pid, &status, 0);
    const uint64_t kills = oomKills(group->events);
    ::rmdir(group->dir.c_str());

    ASSERT_TRUE(WIFEXITED(status)) << "helper killed by signal " << WTERMSIG(status);
    ASSERT_TRUE(got) << "helper exit " << WEXITSTATUS(status);
    EXPECT_EQ(kills, 0u);
    EXPECT_EQ(report.status.totalPhys, 256 * MiB);  // the group's limit is the machine
    EXPECT_EQ(report.result, TouchResult::Written);
    EXPECT_EQ(report.touch.signal, 0);
    EXPECT_EQ(report.touch.exitCode, 1);  // stopped at the budget
    EXPECT_GT(report.touch.bytesWritten, 128 * MiB);
    EXPECT_LE(report.touch.bytesWritten, 256 * MiB - 256 * MiB / kMarginDivisor);
    EXPECT_GE(report.touch.peakRss, report.touch.baselineRss + 128 * MiB);
    std::printf("wrote %.0f MiB in a 256 MiB cgroup in %.3f s\n",
                static_cast<double>(report.touch.bytesWritten) / MiB, report.seconds);
}

}  // namespace
}  // namespace qm
