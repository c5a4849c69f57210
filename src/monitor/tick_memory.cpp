#include "monitor/tick_memory.h"

#include <functional>
#include <utility>

namespace qm {

void TickMemory::shareWithin(Form& form) {
    for (Control* control : form.controls()) {
        if (control->kind() != ControlKind::Timer) continue;
        auto& timer = static_cast<Timer&>(*control);
        timer.onTimer = [this, handler = std::move(timer.onTimer)] {
            struct InTimer {
                int& depth;
                explicit InTimer(int& d) : depth(++d) {}
                ~InTimer() { --depth; }
            } scope(inTimer_);
            if (handler) handler();
        };
    }
}

MemoryStatus TickMemory::status() {
    const uint32_t now = clock_.tickCount();
    // Unsigned difference: right across the counter's wrap as well.
    const bool sameTick = sampled_ && now - sampledAt_ < kSameTickMs;
    if (inTimer_ > 0 && sameTick) return sample_;
    sample_ = machine_.status();
    sampledAt_ = now;
    sampled_ = inTimer_ > 0;
    return sample_;
}

TouchResult TickMemory::touchBlock(uint64_t bytes) {
    sampled_ = false;
    return machine_.touchBlock(bytes);
}

std::unique_ptr<HeldBlock> TickMemory::holdBlock(uint64_t bytes) {
    sampled_ = false;
    return machine_.holdBlock(bytes);
}

namespace {

// The machine's job, whose result (on the window's thread) makes the next reading fresh.
class FreshAfterJob : public BlockJob {
public:
    FreshAfterJob(std::unique_ptr<BlockJob> job, bool& sampled) : job_(std::move(job)), sampled_(sampled) {}
    void wait() override { job_->wait(); }
    TouchResult touched() override { return sampled_ = false, job_->touched(); }
    std::unique_ptr<HeldBlock> held() override { return sampled_ = false, job_->held(); }

private:
    std::unique_ptr<BlockJob> job_;
    bool& sampled_;
};

}  // namespace

// The machine's own job: its begin and end run here, on the window's thread, and only its
// wait elsewhere.
std::unique_ptr<BlockJob> TickMemory::beginBlock(uint64_t bytes, bool hold) {
    sampled_ = false;
    return std::make_unique<FreshAfterJob>(machine_.beginBlock(bytes, hold), sampled_);
}

}  // namespace qm
