#include "base/catalogue.h"
#include "memory/release_engine.h"

#include <algorithm>
#include <exception>
#include <memory>

#include "base/convert.h"
#include "forms/host.h"

namespace qm {

namespace {

constexpr uint64_t kBytesPerMB = 1024ull * 1024ull;
constexpr int kOnDemandSpacingMs = 1000;
constexpr const char* kAlreadyReleasing = N_("The application is already releasing RAM.Please wait or try later.");

int32_t toMB(uint64_t bytes) { return toInt32(roundHalfEven(static_cast<double>(bytes) / kBytesPerMB)); }

}  // namespace

namespace {

// A job whose wait may run on another thread: an error it raises there is kept and raised
// again by touched() or held(), on the window's thread, where the caller's trap logs it.
class CaughtJob : public BlockJob {
public:
    explicit CaughtJob(std::unique_ptr<BlockJob> job) : job_(std::move(job)) {}
    void wait() override {
        try {
            job_->wait();
        } catch (...) {
            failure_ = std::current_exception();
        }
    }
    TouchResult touched() override { return rethrown(), job_->touched(); }
    std::unique_ptr<HeldBlock> held() override { return rethrown(), job_->held(); }

private:
    void rethrown() const {
        if (failure_) std::rethrow_exception(failure_);
    }
    std::unique_ptr<BlockJob> job_;
    std::exception_ptr failure_;
};

}  // namespace

void runBlockJob(Host& host, std::unique_ptr<BlockJob> job, const std::shared_ptr<bool>& alive,
                 std::function<void(BlockJob&)> done) {
    auto shared = std::make_shared<CaughtJob>(std::move(job));
    std::weak_ptr<bool> owner = alive;
    host.runInBackground([shared] { shared->wait(); },
                         [shared, owner, done = std::move(done)] {
                             if (!owner.expired()) done(*shared);
                         });
}

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
    before_ = ctx_.platform.memory.status();  // within a tick, the tick's own sample
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

void ReleaseEngine::stopCycle(const MemoryStatus* seen) {
    attempts_ = 0;
    refused_ = 0;
    tmrRam_.setEnabled(false);
    if (!onCycleEnd) return;
    const MemoryStatus after = seen ? *seen : ctx_.platform.memory.status();
    ctx_.trap(",tmrRam_Timer")([&] { onCycleEnd({before_, after}); });
}

void ReleaseEngine::tmrRam_Timer() {
    if (inFlight_) return;
    auto t = ctx_.trap(",tmrRam_Timer");
    int32_t limit = 0;
    t([&] { limit = retryLimit(); });
    if (limit <= attempts_) return stopCycle();
    MemoryStatus status{};
    int32_t now = 0;
    t([&] { status = ctx_.platform.memory.status(), now = toMB(status.availPhys); });
    if (now >= target_) return stopCycle(&status);
    t([&] { startGoalBlock(status.totalPhys); });
}

// The block is the whole goal. A goal above the machine's total physical memory can never
// be reached, and writing more than that only churns the page file, so the block stops at
// the total.
void ReleaseEngine::startGoalBlock(uint64_t totalPhys) {
    uint64_t bytes = static_cast<uint64_t>(target_) * kBytesPerMB;
    if (totalPhys > 0) bytes = std::min(bytes, totalPhys);
    std::unique_ptr<BlockJob> job = ctx_.platform.memory.beginBlock(bytes, false);
    inFlight_ = true;
    try {
        runBlockJob(ctx_.host, std::move(job), alive_, [this](BlockJob& done) {
            inFlight_ = false;
            auto t = ctx_.trap(",tmrRam_Timer");
            TouchResult result = TouchResult::NotEnoughMemory;
            t([&] { result = done.touched(); });
            finishStep(result);
        });
    } catch (...) {
        // No thread to write it (none left to start): the step did not happen.
        inFlight_ = false;
        throw;
    }
}

// A written block is an attempt; one refused for lack of memory is not, and
// kMaxRefusedBlocks of them end the cycle.
void ReleaseEngine::finishStep(TouchResult result) {
    auto t = ctx_.trap(",tmrRam_Timer");
    if (result == TouchResult::Written) {
        t([&] { attempts_ = toInt32(attempts_ + 1.0); });
    } else if (++refused_ >= kMaxRefusedBlocks) {
        stopCycle();
    }
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
    t([&] { startOnDemand(amount); });
    t([&] { cmdRam_.setEnabled(true); });
}

bool ReleaseEngine::startOnDemand(int32_t amountMB) {
    if (isReleasing()) return false;
    startRelease(toInt32(static_cast<double>(availableMB()) + amountMB), kOnDemandSpacingMs);
    return true;
}

}  // namespace qm
