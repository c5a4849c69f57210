#include "memory/timed_release.h"

#include "base/convert.h"
#include "memory/auto_release.h"

namespace qm {

TimedRelease::TimedRelease(SubsystemContext& ctx, ReleaseEngine& engine, LowMemoryCheck& warning,
                         const int32_t& lastCPU)
    : ctx_(ctx),
      engine_(engine),
      warning_(warning),
      lastCPU_(lastCPU),
      lstTimeAmount_(ctx.frmMain.get<ListBox>("lstTimeAmount")),
      lstTimeInterval_(ctx.frmMain.get<ListBox>("lstTimeInterval")),
      optTimeMinute_(ctx.frmMain.get<OptionButton>("optTimeMinute")),
      chkTimeCPU_(ctx.frmMain.get<CheckBox>("chkTimeCPU")),
      cmbTimeCPU_(ctx.frmMain.get<ComboBox>("cmbTimeCPU")),
      chkLowLevel_(ctx.frmMain.get<CheckBox>("chkLowLevel")) {
    ctx.frmMain.get<Timer>("tmrTime").onTimer = [this] { tmrTime_Timer(); };
}

double TimedRelease::intervalMinutes() {
    double minutes = 0;
    ctx_.trap(",tmrTime_Timer")([&] {
        const double count = toNumber(lstTimeInterval_.text());
        minutes = optTimeMinute_.value() ? count : roundHalfEven(count * 60);
    });
    return minutes;
}

// A running release, or a processor too busy, puts the release off by a whole interval.
bool TimedRelease::putOff() {
    const bool busy = chkTimeCPU_.value() == 1 && lastCPU_ >= shownNumber(cmbTimeCPU_);
    if (!engine_.isReleasing() && !busy) return false;
    startInterval();
    return true;
}

void TimedRelease::release() {
    Trap trap = ctx_.trap(",tmrTime_Timer");
    int32_t amount = 0, now = 0;
    trap([&] { amount = ReleaseEngine::entryMB(lstTimeAmount_.text()); });
    trap([&] { now = engine_.availableMB(); });
    trap([&] { if (chkLowLevel_.value() == 0) warning_.lowMemoryCheck(now); });
    // A release started while the warning was open (from the tray menu, say) keeps its
    // goal; this check is put off as if it had been running before.
    if (engine_.isReleasing()) return startInterval();
    trap([&] { engine_.startRelease(now + amount, engine_.waitSpacingMs()); });
    startInterval();
}

void TimedRelease::startInterval() { intervalStart_ = ctx_.platform.clock.now(); }

void TimedRelease::tmrTime_Timer() {
    if (warning_.messageOpen()) return;
    if (lstTimeAmount_.listIndex() < 0) return;
    const double interval = intervalMinutes();
    if (clockMinutesBetween(intervalStart_, ctx_.platform.clock.now()) < interval) return;
    bool stop = false;
    ctx_.trap(",tmrTime_Timer")([&] { stop = putOff(); });
    if (!stop) release();
}

}  // namespace qm
