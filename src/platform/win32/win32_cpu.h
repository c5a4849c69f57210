#pragma once
// Processor counters from the NT kernel's system information, and the platform
// identifier of the OS version query.
#include <cstdint>
#include <optional>
#include <vector>

#include "platform/cpu.h"

namespace qm {

class Win32Cpu : public CpuPort {
public:
    Win32Cpu();
    int platformId() override;
    // Classes basic (0), time of day (3) and performance (2), in this order; nullopt at
    // the first that fails.
    std::optional<CpuCounters> readCounters() override;

private:
    using QueryFn = long(__stdcall*)(unsigned long, void*, unsigned long, unsigned long*);
    // One class into its buffer; a buffer too small for this system grows once to the
    // size the kernel asks for.
    bool query(unsigned long infoClass, std::vector<uint8_t>& buffer);

    QueryFn ntQuery_ = nullptr;
    std::vector<uint8_t> basic_, timeOfDay_, performance_;
};

}  // namespace qm
