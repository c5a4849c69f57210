#pragma once
// What the automatic and the timed release share: the interval they measure, the rules that
// put a release off (one already running, a processor too busy), the reading of the amount
// and of the available memory with the low-memory warning, and the start itself.
#include "context/subsystem_context.h"
#include "memory/low_memory_check.h"
#include "memory/release_engine.h"

namespace qm {

// The controls of one schedule's page that the shared steps read.
struct ScheduleControls {
    ListBox& amount;     // the amount to release
    CheckBox& cpuCheck;  // "Don't perform ... unless CPU usage is below"
    ComboBox& cpuLimit;  // the percent it names
};

// The base of the two: each adds its own timer handler and interval.
class ScheduledRelease {
public:
    // `label` is the timer handler's trap label; `lastCPU` the load the CPU timer measured last.
    ScheduledRelease(SubsystemContext& ctx, ReleaseEngine& engine, LowMemoryCheck& warning, const int32_t& lastCPU,
                     const char* label, ScheduleControls controls);

    // While the low-memory warning is open, a tick does nothing.
    bool warningOpen() const { return warning_.messageOpen(); }

    // The interval is measured from now on.
    void startInterval() { intervalStart_ = ctx_.platform.clock.now(); }
    DateTime intervalStart() const { return intervalStart_; }

    // A running release, or a processor too busy, puts the release off by a whole interval
    // (the interval starts again); true when it did.
    bool putOffUnderTrap();

    struct Reading {
        int32_t amountMB = 0;
        int32_t availableMB = 0;
    };
    // Reads the amount and the available memory and, unless chkLowLevel is set, warns when
    // memory is low; each read is one statement of `t`.
    Reading read(Trap& t);
    // Starts a release of the amount beyond what is available, unless one started while the
    // warning was open (from the tray menu, say), which keeps its goal; the interval starts
    // again either way.
    void start(Trap& t, const Reading& reading);

protected:
    ListBox& amount() const { return controls_.amount; }

    SubsystemContext& ctx_;

private:
    bool putOff();

    ReleaseEngine& engine_;
    LowMemoryCheck& warning_;
    const int32_t& lastCPU_;
    const char* label_;
    ScheduleControls controls_;
    CheckBox& chkLowLevel_;
    DateTime intervalStart_;
};

}  // namespace qm
