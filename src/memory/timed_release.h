#pragma once
// The timed release: every chosen number of minutes or hours (counted on the clock),
// when the processor is idle enough, start a release cycle.
#include "memory/scheduled_release.h"

namespace qm {

class TimedRelease : public ScheduledRelease {
public:
    // `lastCPU`: the processor load the CPU timer measured last, in percent.
    TimedRelease(SubsystemContext& ctx, ReleaseEngine& engine, LowMemoryCheck& warning, const int32_t& lastCPU);

    void tmrTime_Timer();

private:
    // The chosen interval in minutes: the count as it stands, or hours made minutes.
    double intervalMinutes();

    ListBox& lstTimeInterval_;
    OptionButton& optTimeMinute_;
};

}  // namespace qm
