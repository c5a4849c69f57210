#include "memory/timed_release.h"

#include "base/convert.h"

namespace qm {

TimedRelease::TimedRelease(SubsystemContext& ctx, ReleaseEngine& engine, LowMemoryCheck& warning,
                           const int32_t& lastCPU)
    : ctx_(ctx),
      lstTimeAmount_(ctx.frmMain.get(mainForm::lstTimeAmount)),
      lstTimeInterval_(ctx.frmMain.get(mainForm::lstTimeInterval)),
      optTimeMinute_(ctx.frmMain.get(mainForm::optTimeMinute)),
      schedule_(ctx, engine, warning, lastCPU, ",tmrTime_Timer",
                {lstTimeAmount_, ctx.frmMain.get(mainForm::chkTimeCPU), ctx.frmMain.get(mainForm::cmbTimeCPU)}) {
    ctx.frmMain.get(mainForm::tmrTime).onTimer = [this] { tmrTime_Timer(); };
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
    if (schedule_.warningOpen()) return;
    if (lstTimeAmount_.listIndex() < 0) return;
    const double interval = intervalMinutes();
    if (clockMinutesBetween(intervalStart(), ctx_.platform.clock.now()) < interval) return;
    if (schedule_.putOffUnderTrap()) return;
    Trap trap = ctx_.trap(",tmrTime_Timer");
    schedule_.start(trap, schedule_.read(trap));
}

}  // namespace qm
