#pragma once
// The automatic release: at the chosen interval, when available memory has fallen to the
// chosen minimum (and the processor is idle enough), start a release cycle.
#include "context/subsystem_context.h"
#include "memory/low_memory_check.h"
#include "memory/release_engine.h"

namespace qm {

class AutoRelease {
public:
    // `lastCPU`: the processor load the CPU timer measured last, in percent.
    AutoRelease(SubsystemContext& ctx, ReleaseEngine& engine, LowMemoryCheck& warning, const int32_t& lastCPU);

    void tmrAuto_Timer();

    // The interval is measured from now on.
    void startInterval();
    DateTime intervalStart() const { return intervalStart_; }

private:
    bool intervalPassed();
    bool putOff();
    void checkMemory();

    SubsystemContext& ctx_;
    ReleaseEngine& engine_;
    LowMemoryCheck& warning_;
    const int32_t& lastCPU_;
    DateTime intervalStart_;
    ListBox& lstAutoAmount_;
    ComboBox& cmbAutoRelease_;
    ListBox& lstAutoInterval_;
    CheckBox& chkAutoCPU_;
    ComboBox& cmbAutoCPU_;
    CheckBox& chkLowLevel_;
};

// The number a list shows, as the release conditions compare it (0 when it is not one).
double shownNumber(const ListControl& list);

}  // namespace qm
