#pragma once
// The timed release: every chosen number of minutes or hours (counted on the clock),
// when the processor is idle enough, start a release cycle.
#include "context/subsystem_context.h"
#include "memory/scheduled_release.h"

namespace qm {

class TimedRelease {
public:
    // `lastCPU`: the processor load the CPU timer measured last, in percent.
    TimedRelease(SubsystemContext& ctx, ReleaseEngine& engine, LowMemoryCheck& warning, const int32_t& lastCPU);

    void tmrTime_Timer();

    // The interval is measured from now on.
    void startInterval() { schedule_.startInterval(); }
    DateTime intervalStart() const { return schedule_.intervalStart(); }

private:
    double intervalMinutes();

    SubsystemContext& ctx_;
    ListBox& lstTimeAmount_;
    ListBox& lstTimeInterval_;
    OptionButton& optTimeMinute_;
    ScheduledRelease schedule_;
};

}  // namespace qm
