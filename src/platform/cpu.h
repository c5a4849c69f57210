#pragma once
// Processor counters for the load sampler, in the kernel's 100-nanosecond units.
#include <cstdint>
#include <optional>

namespace qm {

struct CpuCounters {
    uint8_t processors = 1;   // number of processors (a byte, as the kernel record holds it)
    int64_t idleTime = 0;     // idle time summed over all processors
    int64_t systemTime = 0;   // current time of the system clock
};

class CpuPort {
public:
    virtual ~CpuPort() = default;
    // The platform identifier of the OS version query: 2 on the NT family, 1 on 9x.
    virtual int platformId() = 0;
    // One reading of the NT counters; nullopt when a query failed.
    virtual std::optional<CpuCounters> readCounters() = 0;
};

}  // namespace qm
