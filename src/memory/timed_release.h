#pragma once
// The timed release: every chosen number of minutes or hours (counted on the clock),
// when the processor is idle enough, start a release cycle.
#include "context/subsystem_context.h"
#include "memory/low_memory_check.h"
#include "memory/release_engine.h"

namespace qm {

class TimedRelease {
public:
    // `lastCPU`: the processor load the CPU timer measured last, in percent.
    TimedRelease(SubsystemContext& ctx, ReleaseEngine& engine, LowMemoryCheck& warning, const int32_t& lastCPU);

    void tmrTime_Timer();

    // The interval is measured from now on.
    void startInterval();
    DateTime intervalStart() const { return intervalStart_; }

private:
    double intervalMinutes();
    bool putOff();
    void release();

    SubsystemContext& ctx_;
    ReleaseEngine& engine_;
    LowMemoryCheck& warning_;
    const int32_t& lastCPU_;
    DateTime intervalStart_;
    ListBox& lstTimeAmount_;
    ListBox& lstTimeInterval_;
    OptionButton& optTimeMinute_;
    CheckBox& chkTimeCPU_;
    ComboBox& cmbTimeCPU_;
    CheckBox& chkLowLevel_;
};

}  // namespace qm
