#include "memory/scheduled_release.h"

namespace qm {

ScheduledRelease::ScheduledRelease(SubsystemContext& ctx, ReleaseEngine& engine, LowMemoryCheck& warning,
                                   const int32_t& lastCPU, const char* label, ScheduleControls controls)
    : ctx_(ctx),
      engine_(engine),
      warning_(warning),
      lastCPU_(lastCPU),
      label_(label),
      controls_(controls),
      chkLowLevel_(ctx.frmMain.get(mainForm::chkLowLevel)) {}

bool ScheduledRelease::putOff() {
    const bool busy = controls_.cpuCheck.value() == 1 && lastCPU_ >= shownNumber(controls_.cpuLimit);
    if (!engine_.isReleasing() && !busy) return false;
    startInterval();
    return true;
}

bool ScheduledRelease::putOffUnderTrap() {
    bool stop = false;
    ctx_.trap(label_)([&] { stop = putOff(); });
    return stop;
}

ScheduledRelease::Reading ScheduledRelease::read(Trap& t) {
    Reading r;
    t([&] { r.amountMB = ReleaseEngine::entryMB(controls_.amount.text()); });
    t([&] { r.availableMB = engine_.availableMB(); });
    t([&] { if (chkLowLevel_.value() == 0) warning_.lowMemoryCheck(r.availableMB); });
    return r;
}

void ScheduledRelease::start(Trap& t, const Reading& reading) {
    if (engine_.isReleasing()) return startInterval();
    t([&] { engine_.startRelease(reading.availableMB + reading.amountMB, engine_.waitSpacingMs()); });
    startInterval();
}

}  // namespace qm
