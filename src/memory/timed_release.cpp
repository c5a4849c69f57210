#include "memory/timed_release.h"

#include "base/convert.h"

namespace qm {

using namespace mainForm;

TimedRelease::TimedRelease(SubsystemContext& ctx, ReleaseEngine& engine, LowMemoryCheck& warning,
                           const int32_t& lastCPU)
    : ScheduledRelease(ctx, engine, warning, lastCPU, ",tmrTime_Timer",
                       {ctx.frmMain.get(lstTimeAmount), ctx.frmMain.get(chkTimeCPU), ctx.frmMain.get(cmbTimeCPU)}),
      lstTimeInterval_(ctx.frmMain.get(lstTimeInterval)), optTimeMinute_(ctx.frmMain.get(optTimeMinute)) {
    ctx.frmMain.get(tmrTime).onTimer = [this] { tmrTime_Timer(); };
}

double TimedRelease::intervalMinutes() {
    double minutes = 0;
    ctx_.trap(",tmrTime_Timer")([&] {
        const double count = toNumber(lstTimeInterval_.text());
        minutes = optTimeMinute_.value() ? count : roundHalfEven(count * 60);
    });
    return minutes;
}

void TimedRelease::tmrTime_Timer() {
    if (warningOpen() || amount().listIndex() < 0) return;
    const double interval = intervalMinutes();
    if (clockMinutesBetween(intervalStart(), ctx_.platform.clock.now()) < interval || putOffUnderTrap()) return;
    Trap trap = ctx_.trap(",tmrTime_Timer");
    start(trap, read(trap));
}

}  // namespace qm
