// The Windows memory port against the real (or Wine's) memory manager.
#include "platform/win32/win32_memory.h"

#include <windows.h>
#include <psapi.h>

#include <gtest/gtest.h>

namespace qm {
namespace {

constexpr uint64_t MiB = 1024ull * 1024ull;

SIZE_T peakWorkingSet() {
    PROCESS_MEMORY_COUNTERS counters{};
    counters.cb = sizeof counters;
    return K32GetProcessMemoryInfo(GetCurrentProcess(), &counters, sizeof counters) ? counters.PeakWorkingSetSize : 0;
}

TEST(Win32Memory, StatusIsConsistent) {
    Win32Memory memory;
    const MemoryStatus status = memory.status();
    EXPECT_GT(status.totalPhys, 64 * MiB);
    EXPECT_LE(status.availPhys, status.totalPhys);
    EXPECT_GE(status.totalPageFile, status.availPageFile);
}

TEST(Win32Memory, BlockIsCommittedAndWritten) {
    Win32Memory memory;
    // Larger than any earlier peak, so the peak can only be reached by writing the block.
    const uint64_t block = peakWorkingSet() + 64 * MiB;
    ASSERT_EQ(memory.touchBlock(block), TouchResult::Written);
    EXPECT_GE(peakWorkingSet(), block);
}

SIZE_T workingSet() {
    PROCESS_MEMORY_COUNTERS counters{};
    counters.cb = sizeof counters;
    return K32GetProcessMemoryInfo(GetCurrentProcess(), &counters, sizeof counters) ? counters.WorkingSetSize : 0;
}

TEST(Win32Memory, RefusedCommitIsNotEnoughMemory) {
    Win32Memory memory;
    EXPECT_EQ(memory.touchBlock(1ull << 62), TouchResult::NotEnoughMemory);
    EXPECT_EQ(memory.holdBlock(1ull << 62), nullptr);
}

TEST(Win32Memory, AHeldBlockStaysCommittedUntilItsHandleGoes) {
    Win32Memory memory;
    const SIZE_T before = workingSet();
    std::unique_ptr<HeldBlock> held = memory.holdBlock(48 * MiB);
    ASSERT_NE(held, nullptr);
    EXPECT_GE(workingSet(), before + 48 * MiB) << "written and still resident";
    held.reset();
    EXPECT_LT(workingSet(), before + 16 * MiB);
}

}  // namespace
}  // namespace qm
