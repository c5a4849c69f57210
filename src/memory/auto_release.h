#pragma once
// The automatic release: at the chosen interval, when available memory has fallen to the
// chosen minimum (and the processor is idle enough), start a release cycle.
#include "memory/scheduled_release.h"

namespace qm {

class AutoRelease : public ScheduledRelease {
public:
    // `lastCPU`: the processor load the CPU timer measured last, in percent.
    AutoRelease(SubsystemContext& ctx, ReleaseEngine& engine, LowMemoryCheck& warning, const int32_t& lastCPU);

    void tmrAuto_Timer();

private:
    // Seconds counted on the clock since the interval began reach the chosen interval.
    bool intervalPassed();
    // At or below the minimum, a release of the chosen amount starts.
    void checkMemory();

    ComboBox& cmbAutoRelease_;
    ListBox& lstAutoInterval_;
};

}  // namespace qm
