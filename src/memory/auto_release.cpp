#include "memory/auto_release.h"

#include "base/convert.h"

namespace qm {

AutoRelease::AutoRelease(SubsystemContext& ctx, ReleaseEngine& engine, LowMemoryCheck& warning,
                         const int32_t& lastCPU)
    : ctx_(ctx),
      engine_(engine),
      warning_(warning),
      lastCPU_(lastCPU),
      lstAutoAmount_(ctx.frmMain.get<ListBox>("lstAutoAmount")),
      cmbAutoRelease_(ctx.frmMain.get<ComboBox>("cmbAutoRelease")),
      lstAutoInterval_(ctx.frmMain.get<ListBox>("lstAutoInterval")),
      chkAutoCPU_(ctx.frmMain.get<CheckBox>("chkAutoCPU")),
      cmbAutoCPU_(ctx.frmMain.get<ComboBox>("cmbAutoCPU")),
      chkLowLevel_(ctx.frmMain.get<CheckBox>("chkLowLevel")) {
    ctx.frmMain.get<Timer>("tmrAuto").onTimer = [this] { tmrAuto_Timer(); };
}

double shownNumber(const ListControl& list) {
    const std::string text = list.text();
    return isNumeric(text) ? toNumber(text) : 0;
}

bool AutoRelease::intervalPassed() {
    double interval = 0;
    ctx_.trap(",tmrAuto_Timer")([&] { interval = toNumber(lstAutoInterval_.text()); });
    return wholeSecondsBetween(intervalStart_, ctx_.platform.clock.now()) >= interval;
}

// A running release, or a processor too busy, puts the check off by a whole interval.
bool AutoRelease::putOff() {
    const bool busy = chkAutoCPU_.value() == 1 && lastCPU_ >= shownNumber(cmbAutoCPU_);
    if (!engine_.isReleasing() && !busy) return false;
    startInterval();
    return true;
}

void AutoRelease::checkMemory() {
    Trap trap = ctx_.trap(",tmrAuto_Timer");
    int32_t amount = 0, now = 0, minimum = 0;
    trap([&] { amount = ReleaseEngine::entryMB(lstAutoAmount_.text()); });
    trap([&] { now = engine_.availableMB(); });
    trap([&] { if (chkLowLevel_.value() == 0) warning_.lowMemoryCheck(now); });
    trap([&] { minimum = ReleaseEngine::entryMB(cmbAutoRelease_.text()); });
    if (now > minimum) return;
    // A release started while the warning was open (from the tray menu, say) keeps its
    // goal; this check is put off as if it had been running before.
    if (engine_.isReleasing()) return startInterval();
    trap([&] { engine_.startRelease(now + amount, engine_.waitSpacingMs()); });
    startInterval();
}

void AutoRelease::startInterval() { intervalStart_ = ctx_.platform.clock.now(); }

void AutoRelease::tmrAuto_Timer() {
    if (warning_.messageOpen()) return;
    if (lstAutoAmount_.listIndex() < 0 || cmbAutoRelease_.listIndex() < 0) return;
    if (!intervalPassed()) return;
    bool stop = false;
    ctx_.trap(",tmrAuto_Timer")([&] { stop = putOff(); });
    if (!stop) checkMemory();
}

}  // namespace qm
