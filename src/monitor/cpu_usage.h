#pragma once
// The processor-load sampler: the load in percent since the previous call, measured
// from the NT kernel's counters or, on the 9x family, from the registry's dynamic
// performance statistics; the way is chosen once, at construction.
#include <array>
#include <cstdint>
#include <memory>

#include "base/trap.h"
#include "monitor/currency.h"
#include "platform/platform.h"

namespace qm {

class clsCPUUsage {
public:
    // Takes the first sample (Class_Initialize).
    clsCPUUsage(Platform& platform, ErrorSink& log);
    // Stops the 9x statistics counter (Class_Terminate).
    ~clsCPUUsage();
    clsCPUUsage(const clsCPUUsage&) = delete;
    clsCPUUsage& operator=(const clsCPUUsage&) = delete;

    // Load in percent since the previous call; not clamped; 0 when a measurement fails.
    int32_t CurrentCPUUsage();

    // A 64-bit counter of 100 ns units as the fixed-point number of milliseconds.
    static Currency LI2Currency(int64_t counter) { return Currency::fromRaw(counter); }

    bool isWinNT() const { return isWinNT_; }

private:
    void initNT();
    void init9x();
    int32_t sampleNT();
    // The load from one new reading against the stored one; each step is one statement.
    int32_t loadSince(const CpuCounters& now, Trap& t) const;
    int32_t sample9x();
    // Reads "KERNEL\CPUUsage" from `key` into the value buffer (status not checked).
    void queryUsage(RegHandle key);

    CpuPort& cpu_;
    RegistryPort& registry_;
    ErrorSink& log_;
    bool isWinNT_ = false;
    int64_t oldIdleTime_ = 0;
    int64_t oldSystemTime_ = 0;
    RegHandle perfKey_ = 0;
    std::array<uint8_t, 4> valueBuffer_{};
};

// The main window holds its sampler here: created in Form_Load, released at exit. The
// gauges and graphs read it through a reference, so they see it come and go.
using CpuSamplerSlot = std::unique_ptr<clsCPUUsage>;

}  // namespace qm
