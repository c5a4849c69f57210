#include "memory/auto_release.h"

#include "base/convert.h"

namespace qm {

using namespace mainForm;

AutoRelease::AutoRelease(SubsystemContext& ctx, ReleaseEngine& engine, LowMemoryCheck& warning,
                         const int32_t& lastCPU)
    : ScheduledRelease(ctx, engine, warning, lastCPU, ",tmrAuto_Timer",
                       {ctx.frmMain.get(lstAutoAmount), ctx.frmMain.get(chkAutoCPU), ctx.frmMain.get(cmbAutoCPU)}),
      cmbAutoRelease_(ctx.frmMain.get(cmbAutoRelease)),
      lstAutoInterval_(ctx.frmMain.get(lstAutoInterval)) {
    ctx.frmMain.get(tmrAuto).onTimer = [this] { tmrAuto_Timer(); };
}

bool AutoRelease::intervalPassed() {
    double interval = 0;
    ctx_.trap(",tmrAuto_Timer")([&] { interval = toNumber(lstAutoInterval_.text()); });
    return wholeSecondsBetween(intervalStart(), ctx_.platform.clock.now()) >= interval;
}

void AutoRelease::checkMemory() {
    Trap trap = ctx_.trap(",tmrAuto_Timer");
    const Reading reading = read(trap);
    int32_t minimum = 0;
    trap([&] { minimum = ReleaseEngine::entryMB(cmbAutoRelease_.text()); });
    if (reading.availableMB <= minimum) start(trap, reading);
}

void AutoRelease::tmrAuto_Timer() {
    if (warningOpen() || amount().listIndex() < 0 || cmbAutoRelease_.listIndex() < 0) return;
    if (intervalPassed() && !putOffUnderTrap()) checkMemory();
}

}  // namespace qm
