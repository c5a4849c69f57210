#include "memory/release_engine.h"

#include <algorithm>

#include "base/convert.h"
#include "forms/host.h"

namespace qm {

namespace {

constexpr uint64_t kBytesPerMB = 1024ull * 1024ull;
constexpr int kOnDemandSpacingMs = 1000;
constexpr const char* kAlreadyReleasing = "The application is already releasing RAM.Please wait or try later.";

int32_t toMB(uint64_t bytes) { return toInt32(roundHalfEven(static_cast<double>(bytes) / kBytesPerMB)); }

}  // namespace

ReleaseEngine::ReleaseEngine(SubsystemContext& ctx)
    : ctx_(ctx),
      tmrRam_(ctx.frmMain.get(mainForm::tmrRam)),
      cmdRam_(ctx.frmMain.get(mainForm::cmdRam)),
      lstRam_(ctx.frmMain.get(mainForm::lstRam)),
      cmbRetry_(ctx.frmMain.get(mainForm::cmbRetry)),
      cmbStartupWait_(ctx.frmMain.get(mainForm::cmbStartupWait)) {
    tmrRam_.onTimer = [this] { tmrRam_Timer(); };
    cmdRam_.onClick = [this] { cmdRam_Click(); };
}

int32_t ReleaseEngine::availableMB() { return toMB(ctx_.platform.memory.status().availPhys); }

int32_t ReleaseEngine::entryMB(const std::string& text) {
    return toInt32(toNumber(text.substr(0, text.find(' '))));
}

void ReleaseEngine::startRelease(int32_t targetMB, int spacingMs) {
    target_ = targetMB;
    attempts_ = 0;
    refused_ = 0;
    tmrRam_.setInterval(spacingMs);
    tmrRam_.setEnabled(true);
}

bool ReleaseEngine::isReleasing() const { return tmrRam_.isEnabled(); }

int32_t ReleaseEngine::retryLimit() const { return toInt32(val(cmbRetry_.text())); }

// A wait that gives no positive number would leave tmrRam enabled but never ticking: a
// cycle that never ends and refuses every later release. One second is used instead.
int ReleaseEngine::waitSpacingMs() const {
    const double seconds = val(cmbStartupWait_.text());
    return seconds >= 1 ? toInt32(seconds * 1000) : kOnDemandSpacingMs;
}

void ReleaseEngine::stopCycle() {
    attempts_ = 0;
    refused_ = 0;
    tmrRam_.setEnabled(false);
}

void ReleaseEngine::tmrRam_Timer() {
    auto t = ctx_.trap(",tmrRam_Timer");
    int32_t limit = 0;
    t([&] { limit = retryLimit(); });
    if (limit <= attempts_) return stopCycle();
    MemoryStatus status{};
    int32_t now = 0;
    t([&] { status = ctx_.platform.memory.status(), now = toMB(status.availPhys); });
    if (now >= target_) return stopCycle();
    bool written = true;
    t([&] { written = touchGoalBlock(status.totalPhys); });
    if (!written) return;
    t([&] { attempts_ = toInt32(attempts_ + 1.0); });
}

// The block is the whole goal. A goal above the machine's total physical memory can never
// be reached, and writing more than that only churns the page file, so the block stops at
// the total. A block refused for lack of memory is no attempt; kMaxRefusedBlocks of them
// end the cycle.
bool ReleaseEngine::touchGoalBlock(uint64_t totalPhys) {
    uint64_t bytes = static_cast<uint64_t>(target_) * kBytesPerMB;
    if (totalPhys > 0) bytes = std::min(bytes, totalPhys);
    if (ctx_.platform.memory.touchBlock(bytes) == TouchResult::Written) return true;
    if (++refused_ >= kMaxRefusedBlocks) stopCycle();
    return false;
}

void ReleaseEngine::cmdRam_Click() {
    auto t = ctx_.trap(",cmdRAM_Click");
    if (isReleasing()) {
        t([&] { ctx_.message(kAlreadyReleasing, vbOKOnly | vbInformation); });
        return;
    }
    t([&] { cmdRam_.setEnabled(false); });
    int32_t amount = 0;
    t([&] { amount = entryMB(lstRam_.text()); });
    t([&] { startRelease(toInt32(static_cast<double>(availableMB()) + amount), kOnDemandSpacingMs); });
    t([&] { cmdRam_.setEnabled(true); });
}

}  // namespace qm
