#pragma once
// Pure readers of the kernel's memory texts (/proc/meminfo, /proc/<pid>/status,
// /proc/self/cgroup, cgroup limit files) and the arithmetic built on them. No allocation
// in the readers of numbers: the block-writing child process calls them after fork.
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "platform/memory.h"

namespace qm::posix {

// "Name:   1234 kB" from a meminfo-style text, in bytes; nullopt when absent or unreadable.
std::optional<uint64_t> kbField(std::string_view text, std::string_view name);

struct Meminfo {
    uint64_t memTotal = 0;
    uint64_t memAvailable = 0;
    uint64_t swapTotal = 0;
    uint64_t swapFree = 0;
    uint64_t memFree = 0;  // never above memAvailable
};
// MemTotal is required; without MemAvailable (kernels before 3.14) it is estimated as
// MemFree + Buffers + Cached; missing swap fields read as no swap.
std::optional<Meminfo> parseMeminfo(std::string_view text);

// The group of this process in the unified hierarchy ("0::/path") and in the v1 memory
// hierarchy ("N:...memory...:/path").
struct CgroupPaths {
    std::optional<std::string> unified;
    std::optional<std::string> memoryV1;
};
CgroupPaths parseCgroupPath(std::string_view text);

// A byte count of a cgroup file (limit or usage); nullopt for "max" (no limit) or garbage.
std::optional<uint64_t> parseBytes(std::string_view text);

// The group's folder and every folder above it up to the mount point, innermost first.
std::vector<std::string> cgroupDirs(const std::string& mount, const std::string& path);

// One limited level of the cgroup hierarchy.
struct CgroupLevel {
    uint64_t limit = 0;
    uint64_t usage = 0;
};

// A limit at or above this binds nothing: a group's usage never exceeds the RAM, so its
// headroom covers all of RAM and swap. Its usage need not be read (version 1 reports "no
// limit" as 9223372036854771712).
uint64_t boundlessLimit(const Meminfo& info);

// The machine as this process sees it: RAM and availability capped by every limit above
// it; the page file is RAM plus swap.
MemoryStatus effectiveStatus(const Meminfo& info, const std::vector<CgroupLevel>& levels);

// What may still be written without the kernel having to kill anything: the least of
// available RAM plus free swap and every cgroup's headroom, less a margin of
// 1/kMarginDivisor of the effective total.
inline constexpr uint64_t kMarginDivisor = 20;
uint64_t safeBudget(const Meminfo& info, const std::vector<CgroupLevel>& levels);

}  // namespace qm::posix
