#pragma once
// Processor counters on Linux, in the NT kernel's terms: idle time summed over all
// processors and a clock, both in 100 ns units, and the online processor count. The
// load formula of the core then reports the load that top shows.
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

#include "platform/cpu.h"
#include "platform/posix/kept_file.h"

namespace qm {

// Idle plus iowait jiffies of the all-processor "cpu" line of /proc/stat; nullopt when
// the line is missing or broken. Kernels before 2.5.41 have no iowait field: idle alone.
std::optional<uint64_t> parseProcStat(std::string_view text);

// The number of per-processor lines ("cpu0", "cpu1", ...) of /proc/stat, which the kernel
// writes for the online processors; 0 when there are none.
long processorLines(std::string_view text);

// The number of processors of a kernel CPU list such as "0-3,6,8-9"; nullopt when broken.
std::optional<long> parseCpuList(std::string_view text);

// The counters from raw figures. Above 255 processors (the count is a byte) the idle
// time is scaled to 255 processors, so the load stays true.
CpuCounters cpuCountersFrom(uint64_t idleJiffies, long clockTicksPerSecond, long onlineCpus,
                            int64_t clock100ns);

class PosixCpu : public CpuPort {
public:
    explicit PosixCpu(std::string statPath = "/proc/stat", std::string onlinePath = "/sys/devices/system/cpu/online")
        : stat_(std::move(statPath)), online_(std::move(onlinePath)) {}
    // Linux plays the NT family: the counters path is the one that applies.
    int platformId() override { return 2; }
    std::optional<CpuCounters> readCounters() override;

private:
    long onlineProcessors(std::string_view statText);
    posix::KeptFile stat_, online_;
};

}  // namespace qm
