// The Linux processor counters: the /proc/stat parser on captured files, the unit
// conversion, and live readings that the core's formula turns into top's load.
#include "platform/posix/posix_cpu.h"

#include <gtest/gtest.h>
#include <unistd.h>

#include <chrono>
#include <fstream>
#include <sstream>
#include <thread>

#include "forms/headless_host.h"
#include "monitor/cpu_usage.h"
#include "support/fake_platform.h"
#include "support/temp_folder.h"

namespace qm {
namespace {

// A 2-processor machine (kernel 6.x).
constexpr const char* kTwoCpus =
    "cpu  10132153 290696 3084719 46828483 16683 0 25195 0 0 0\n"
    "cpu0 1393280 32966 572056 13343292 6021 0 17875 0 0 0\n"
    "cpu1 1335236 26888 555463 13349472 5267 0 4051 0 0 0\n"
    "intr 1462898 37 2 0 0\n"
    "ctxt 2932349\nbtime 1700000000\nprocesses 26431\nprocs_running 2\nprocs_blocked 0\n";

TEST(ProcStatTest, IdleAndIowaitOfTheAllProcessorLine) {
    EXPECT_EQ(parseProcStat(kTwoCpus), 46828483u + 16683u);
    // Kernels before 2.5.41: four fields, no iowait.
    EXPECT_EQ(parseProcStat("cpu  100 0 50 7000\ncpu0 100 0 50 7000\n"), 7000u);
    // The last line without its newline, and blanks at the end.
    EXPECT_EQ(parseProcStat("intr 5\ncpu\t1 2 3 400 5 6 7  "), 405u);
    EXPECT_EQ(parseProcStat("cpu  1 2 3 400 5\r\n"), 405u);
}

TEST(ProcStatTest, BrokenFilesGiveNoReading) {
    for (const char* broken : {"", "cpu0 1 2 3 4 5\ncpu1 1 2 3 4 5\n",  // per-processor lines only
                               "cpu  10 20 30\n",                       // idle field missing
                               "cpu  10 20 x0 40 50\n",                 // not a number
                               "cpu  10 20 30 -40 50\n",
                               "cpu  10 20 30 99999999999999999999999 50\n",  // beyond 64 bits
                               "cpus 1 2 3 4 5\n", "intr 1 2 3 4 5\n"}) {
        EXPECT_EQ(parseProcStat(broken), std::nullopt) << broken;
    }
}

TEST(ProcStatTest, JiffiesBecomeHundredNanosecondUnits) {
    const CpuCounters c = cpuCountersFrom(46845166, 100, 2, 123);
    EXPECT_EQ(c.idleTime, 4684516600000);  // 468451.66 s
    EXPECT_EQ(c.processors, 2);
    EXPECT_EQ(c.systemTime, 123);
    EXPECT_EQ(cpuCountersFrom(3, 300, 1, 0).idleTime, 100000);  // a 300 Hz clock: 10 ms
    EXPECT_EQ(cpuCountersFrom(1, 100, 0, 0).processors, 1);
    // 510 processors half idle: counted as 255 with half of them idle.
    const CpuCounters big = cpuCountersFrom(255 * 100, 100, 510, 0);
    EXPECT_EQ(big.processors, 255);
    EXPECT_EQ(big.idleTime, 255LL * 10000000 / 2);
}

TEST(ProcStatTest, AbsurdCountersSaturateInsteadOfWrapping) {
    EXPECT_EQ(parseProcStat("cpu  1 2 3 18446744073709551615 18446744073709551615\n"), UINT64_MAX);
    EXPECT_EQ(cpuCountersFrom(UINT64_MAX, 100, 4, 0).idleTime, INT64_MAX);
    EXPECT_EQ(cpuCountersFrom(UINT64_MAX, 100, 510, 0).processors, 255);
    EXPECT_GT(cpuCountersFrom(UINT64_MAX, 100, 510, 0).idleTime, 0);
    // The largest count that still converts exactly.
    const uint64_t largest = (INT64_MAX / 10000000 - 1) * 100;
    EXPECT_EQ(cpuCountersFrom(largest, 100, 1, 0).idleTime, static_cast<int64_t>(largest / 100 * 10000000));
}

TEST(ProcStatTest, OnlineProcessorLists) {
    EXPECT_EQ(parseCpuList("0-1\n"), 2);
    EXPECT_EQ(parseCpuList("0"), 1);
    EXPECT_EQ(parseCpuList("0-3,6,8-9\n"), 7);
    EXPECT_EQ(parseCpuList("0-511"), 512);
    for (const char* broken : {"", "\n", "3-1", "0-", "-3", "0,,2", "0-1,", "a-b", "0 1", "1-2-3"}) {
        EXPECT_EQ(parseCpuList(broken), std::nullopt) << broken;
    }
}

// A recorded machine: the counters of each reading come from the files as they are then.
TEST(PosixCpuTest, EveryReadingTakesTheFilesAsTheyAreNow) {
    test::TempFolder folder{"qm_cpu"};
    const std::string stat = folder.path() + "/stat", online = folder.path() + "/online";
    auto put = [](const std::string& path, const std::string& text) { std::ofstream(path, std::ios::trunc) << text; };
    put(stat, "cpu  1 2 3 400 5\n");
    put(online, "0-3\n");
    PosixCpu cpu(stat, online);
    const long ticks = sysconf(_SC_CLK_TCK);
    EXPECT_EQ(cpu.readCounters()->processors, 4);
    EXPECT_EQ(cpu.readCounters()->idleTime, 405LL * 10000000 / ticks);
    put(stat, "cpu  1 2 3 900 100\n");
    put(online, "0,2\n");
    EXPECT_EQ(cpu.readCounters()->idleTime, 1000LL * 10000000 / ticks);
    EXPECT_EQ(cpu.readCounters()->processors, 2);
    // Without a readable list the C library's count stands.
    put(online, "garbage");
    EXPECT_EQ(cpu.readCounters()->processors, std::min<long>(255, sysconf(_SC_NPROCESSORS_ONLN)));
    put(stat, "cpu  broken\n");
    EXPECT_EQ(cpu.readCounters(), std::nullopt);
}

// The per-processor lines of the stat text count the online processors, and the list is
// read only for a text without them.
TEST(PosixCpuTest, TheStatTextCountsTheProcessorsBeforeTheOnlineList) {
    EXPECT_EQ(processorLines(kTwoCpus), 2);
    EXPECT_EQ(processorLines("cpu  1 2 3 4\ncpu0 1 2 3 4\ncpu7 1 2 3 4\ncpux 1\nintr cpu1\n"), 2);
    EXPECT_EQ(processorLines("cpu  1 2 3 4\n"), 0);
    test::TempFolder folder{"qm_cpu"};
    const std::string stat = folder.path() + "/stat", online = folder.path() + "/online";
    std::ofstream(stat) << kTwoCpus;
    std::ofstream(online) << "0-5\n";
    PosixCpu cpu(stat, online);
    EXPECT_EQ(cpu.readCounters()->processors, 2);
    std::ofstream(stat, std::ios::trunc) << "cpu  1 2 3 400 5\n";
    EXPECT_EQ(cpu.readCounters()->processors, 6);
}

std::string procStat() {
    std::ifstream file("/proc/stat");
    std::ostringstream text;
    text << file.rdbuf();
    return text.str();
}

// Busy and total jiffies of the all-processor line, as top counts them.
std::pair<double, double> busyAndTotal(const std::string& text) {
    std::istringstream line(text.substr(0, text.find('\n')));
    std::string label;
    double value = 0, total = 0, idle = 0;
    line >> label;
    for (int field = 0; field < 8 && line >> value; ++field) {
        total += value;
        if (field == 3 || field == 4) idle += value;
    }
    return {total - idle, total};
}

TEST(PosixCpuTest, LiveReadingsMatchTopsLoad) {
    PosixCpu cpu;
    const auto first = cpu.readCounters();
    ASSERT_TRUE(first.has_value());
    EXPECT_EQ(first->processors, std::min<long>(255, sysconf(_SC_NPROCESSORS_ONLN)));
    EXPECT_GT(first->idleTime, 0);

    HeadlessHost host;
    test::HostClock clock{host};
    test::FakePlatform fakes;
    Platform platform{fakes.memory, cpu, fakes.profile, fakes.registry, fakes.shell, fakes.files,
                      fakes.internet, clock, fakes.folder, fakes.instance,
                      fakes.update, fakes.locale};
    test::RecordingSink log;
    const auto before = busyAndTotal(procStat());
    clsCPUUsage sampler(platform, log);
    std::this_thread::sleep_for(std::chrono::milliseconds(600));
    const int32_t load = sampler.CurrentCPUUsage();
    const auto after = busyAndTotal(procStat());
    const double topLoad = 100 * (after.first - before.first) / (after.second - before.second);
    EXPECT_NEAR(load, topLoad, 10) << "sampler " << load << " %, top " << topLoad << " %";
    EXPECT_GE(load, -5);
    EXPECT_LE(load, 100);
    EXPECT_TRUE(log.entries.empty());
    EXPECT_EQ(PosixCpu("/nonexistent/stat").readCounters(), std::nullopt);
}

}  // namespace
}  // namespace qm
