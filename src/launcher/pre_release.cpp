#include "launcher/pre_release.h"

#include <algorithm>
#include <exception>

#include "base/convert.h"
#include "forms/form.h"
#include "memory/release_engine.h"

namespace qm {

namespace {

constexpr uint64_t kBytesPerMB = 1024ull * 1024ull;
constexpr int kEventPasses = 4;
constexpr int kDontFreeUp = 4;
// Percent of totalPhysMB for the options 0 to 3; whole percents keep a half a half.
constexpr int kSharePercent[4] = {5, 10, 15, 20};

int32_t wholeMB(uint64_t bytes) { return toInt32(roundHalfEven(static_cast<double>(bytes) / kBytesPerMB)); }

}  // namespace

PreRelease::PreRelease(SubsystemContext& ctx, const MemoryTotals& totals)
    : ctx_(ctx), totals_(totals), cmbLauncher_(ctx.frmMain.get(mainForm::cmbLauncher)) {}

bool PreRelease::skipped() const { return ctx_.frmMain.element(mainForm::optLauncher, kDontFreeUp).value(); }

int32_t PreRelease::targetMB() const {
    for (int option = 3; option >= 0; --option) {
        if (!ctx_.frmMain.element(mainForm::optLauncher, option).value()) continue;
        return toInt32(roundHalfEven(kSharePercent[option] * static_cast<double>(totals_.physMB) / 100));
    }
    return 0;
}

std::unique_ptr<HeldBlock> PreRelease::run(Trap& t) {
    int32_t first = 0, limit = 0, target = 0;
    t([&] { before_ = ctx_.platform.memory.status(), first = wholeMB(before_.availPhys); });
    t([&] { limit = toInt16(toNumber(cmbLauncher_.text())); });  // no number: error 13, limit 0
    t([&] { target = targetMB(); });
    std::unique_ptr<HeldBlock> held;
    for (int attempt = 1; attempt <= limit; ++attempt) {
        processEvents(t);
        MemoryStatus status{};
        int32_t now = 0;
        t([&] { status = ctx_.platform.memory.status(), now = wholeMB(status.availPhys); });
        if (int64_t{now} - first >= target) break;
        t([&] { holdNext(held, int64_t{now} + target, status.totalPhys); });
        processEvents(t);
    }
    return held;
}

void PreRelease::processEvents(Trap& t) {
    for (int pass = 0; pass < kEventPasses; ++pass) t([&] { ctx_.host.doEvents(); });
}

// A block above the machine's total physical memory cannot make more of it available; it
// would only churn the page file.
void PreRelease::holdNext(std::unique_ptr<HeldBlock>& held, int64_t blockMB, uint64_t totalPhys) {
    uint64_t bytes = static_cast<uint64_t>(std::max<int64_t>(blockMB, 0)) * kBytesPerMB;
    if (totalPhys > 0) bytes = std::min(bytes, totalPhys);
    std::unique_ptr<HeldBlock> block = holdWhileAnswering(bytes);
    if (!block) raiseError(errOutOfMemory);
    held = std::move(block);
}

// The block is written off the window's thread; the window's events run meanwhile.
std::unique_ptr<HeldBlock> PreRelease::holdWhileAnswering(uint64_t bytes) {
    std::unique_ptr<HeldBlock> block;
    std::exception_ptr failure;
    bool finished = false;
    const auto alive = std::make_shared<bool>(true);
    runBlockJob(ctx_.host, ctx_.platform.memory.beginBlock(bytes, true), alive, [&](BlockJob& job) {
        finished = true;
        try {
            block = job.held();
        } catch (...) {
            failure = std::current_exception();
        }
    });
    while (!finished) ctx_.host.waitForEvents();
    if (failure) std::rethrow_exception(failure);
    return block;
}

}  // namespace qm
