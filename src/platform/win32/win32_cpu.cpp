#include "platform/win32/win32_cpu.h"

#include <windows.h>

#include <cstddef>
#include <cstring>

namespace qm {

namespace {

constexpr unsigned long kBasicInformation = 0;
constexpr unsigned long kPerformanceInformation = 2;
constexpr unsigned long kTimeOfDayInformation = 3;
constexpr long kInfoLengthMismatch = static_cast<long>(0xC0000004L);

// SYSTEM_BASIC_INFORMATION as documented; the pointer-sized fields move the processor
// count from offset 40 (32-bit) to 56 (64-bit).
struct BasicInformation {
    ULONG Reserved;
    ULONG TimerResolution;
    ULONG PageSize;
    ULONG NumberOfPhysicalPages;
    ULONG LowestPhysicalPageNumber;
    ULONG HighestPhysicalPageNumber;
    ULONG AllocationGranularity;
    ULONG_PTR MinimumUserModeAddress;
    ULONG_PTR MaximumUserModeAddress;
    ULONG_PTR ActiveProcessorsAffinityMask;
    CCHAR NumberOfProcessors;
};
static_assert(sizeof(void*) != 4 || offsetof(BasicInformation, NumberOfProcessors) == 40);
static_assert(sizeof(void*) != 4 || sizeof(BasicInformation) == 44);
static_assert(sizeof(void*) != 8 || offsetof(BasicInformation, NumberOfProcessors) == 56);

constexpr size_t kTimeOfDaySize = 32;       // boot time, current time (offset 8), bias, zone id
constexpr size_t kPerformanceSize = 4096;   // 312 bytes on the first NT systems; more today
constexpr size_t kCurrentTimeOffset = 8;

int64_t int64At(const std::vector<uint8_t>& buffer, size_t offset) {
    int64_t value = 0;
    std::memcpy(&value, buffer.data() + offset, sizeof value);
    return value;
}

}  // namespace

Win32Cpu::Win32Cpu()
    : basic_(sizeof(BasicInformation)), timeOfDay_(kTimeOfDaySize), performance_(kPerformanceSize) {
    if (HMODULE ntdll = GetModuleHandleA("ntdll.dll")) {
        ntQuery_ = reinterpret_cast<QueryFn>(reinterpret_cast<void*>(GetProcAddress(ntdll, "NtQuerySystemInformation")));
    }
}

int Win32Cpu::platformId() {
    OSVERSIONINFOA info{};
    info.dwOSVersionInfoSize = sizeof info;  // 148
    if (!GetVersionExA(&info)) return 0;
    return static_cast<int>(info.dwPlatformId);
}

bool Win32Cpu::query(unsigned long infoClass, std::vector<uint8_t>& buffer) {
    if (!ntQuery_) return false;
    unsigned long needed = 0;
    long status = ntQuery_(infoClass, buffer.data(), static_cast<unsigned long>(buffer.size()), &needed);
    if (status == kInfoLengthMismatch && needed > buffer.size()) {
        buffer.assign(needed, 0);
        status = ntQuery_(infoClass, buffer.data(), static_cast<unsigned long>(buffer.size()), &needed);
    }
    return status == 0;
}

std::optional<CpuCounters> Win32Cpu::readCounters() {
    if (!query(kBasicInformation, basic_) || !query(kTimeOfDayInformation, timeOfDay_) ||
        !query(kPerformanceInformation, performance_))
        return std::nullopt;
    CpuCounters counters;
    counters.processors = basic_[offsetof(BasicInformation, NumberOfProcessors)];
    counters.systemTime = int64At(timeOfDay_, kCurrentTimeOffset);
    counters.idleTime = int64At(performance_, 0);  // idle time of all processors
    return counters;
}

}  // namespace qm
