// The NT counters port on the real (or Wine's) kernel.
#include "platform/win32/win32_cpu.h"

#include <gtest/gtest.h>
#include <windows.h>

namespace qm {
namespace {

TEST(Win32CpuTest, ReadsTheThreeCountersOfTheRunningSystem) {
    Win32Cpu cpu;
    EXPECT_EQ(cpu.platformId(), 2);
    SYSTEM_INFO info{};
    GetSystemInfo(&info);
    const auto first = cpu.readCounters();
    ASSERT_TRUE(first.has_value());
    EXPECT_EQ(first->processors, std::min<DWORD>(255, info.dwNumberOfProcessors));
    Sleep(200);
    const auto second = cpu.readCounters();
    ASSERT_TRUE(second.has_value());
    // 100 ns units: 200 ms is 2,000,000 of them (with slack for a busy machine).
    EXPECT_GE(second->systemTime - first->systemTime, 1'500'000);
    EXPECT_LT(second->systemTime - first->systemTime, 50'000'000);
    EXPECT_GE(second->idleTime, first->idleTime);
    EXPECT_LE(second->idleTime - first->idleTime, int64_t{first->processors} * 60'000'000);
}

}  // namespace
}  // namespace qm
