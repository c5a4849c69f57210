#pragma once
// The timed release: every chosen number of minutes or hours (counted on the clock),
// when the processor is idle enough, start a release cycle.
#include "app/app_context.h"
#include "memory/low_memory_check.h"
#include "memory/release_engine.h"

namespace qm {

class TimedRelease {
public:
    TimedRelease(AppContext& ctx, ReleaseEngine& engine, LowMemoryCheck& warning);

    void tmrTime_Timer();

private:
    double intervalMinutes();
    bool putOff();
    void release();

    AppContext& ctx_;
    ReleaseEngine& engine_;
    LowMemoryCheck& warning_;
    ListBox& lstTimeAmount_;
    ListBox& lstTimeInterval_;
    OptionButton& optTimeMinute_;
    CheckBox& chkTimeCPU_;
    ComboBox& cmbTimeCPU_;
    CheckBox& chkLowLevel_;
};

}  // namespace qm
