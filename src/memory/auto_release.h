#pragma once
// The automatic release: at the chosen interval, when available memory has fallen to the
// chosen minimum (and the processor is idle enough), start a release cycle.
#include "context/subsystem_context.h"
#include "memory/scheduled_release.h"

namespace qm {

class AutoRelease {
public:
    // `lastCPU`: the processor load the CPU timer measured last, in percent.
    AutoRelease(SubsystemContext& ctx, ReleaseEngine& engine, LowMemoryCheck& warning, const int32_t& lastCPU);

    void tmrAuto_Timer();

    // The interval is measured from now on.
    void startInterval() { schedule_.startInterval(); }
    DateTime intervalStart() const { return schedule_.intervalStart(); }

private:
    bool intervalPassed();
    void checkMemory();

    SubsystemContext& ctx_;
    ListBox& lstAutoAmount_;
    ComboBox& cmbAutoRelease_;
    ListBox& lstAutoInterval_;
    ScheduledRelease schedule_;
};

}  // namespace qm
