#include "memory/auto_release.h"

#include "base/convert.h"

namespace qm {

AutoRelease::AutoRelease(SubsystemContext& ctx, ReleaseEngine& engine, LowMemoryCheck& warning,
                         const int32_t& lastCPU)
    : ctx_(ctx),
      lstAutoAmount_(ctx.frmMain.get(mainForm::lstAutoAmount)),
      cmbAutoRelease_(ctx.frmMain.get(mainForm::cmbAutoRelease)),
      lstAutoInterval_(ctx.frmMain.get(mainForm::lstAutoInterval)),
      schedule_(ctx, engine, warning, lastCPU, ",tmrAuto_Timer",
                {lstAutoAmount_, ctx.frmMain.get(mainForm::chkAutoCPU), ctx.frmMain.get(mainForm::cmbAutoCPU)}) {
    ctx.frmMain.get(mainForm::tmrAuto).onTimer = [this] { tmrAuto_Timer(); };
}

bool AutoRelease::intervalPassed() {
    double interval = 0;
    ctx_.trap(",tmrAuto_Timer")([&] { interval = toNumber(lstAutoInterval_.text()); });
    return wholeSecondsBetween(intervalStart(), ctx_.platform.clock.now()) >= interval;
}

void AutoRelease::checkMemory() {
    Trap trap = ctx_.trap(",tmrAuto_Timer");
    const ScheduledRelease::Reading reading = schedule_.read(trap);
    int32_t minimum = 0;
    trap([&] { minimum = ReleaseEngine::entryMB(cmbAutoRelease_.text()); });
    if (reading.availableMB > minimum) return;
    schedule_.start(trap, reading);
}

void AutoRelease::tmrAuto_Timer() {
    if (schedule_.warningOpen()) return;
    if (lstAutoAmount_.listIndex() < 0 || cmbAutoRelease_.listIndex() < 0) return;
    if (!intervalPassed()) return;
    if (!schedule_.putOffUnderTrap()) checkMemory();
}

}  // namespace qm
