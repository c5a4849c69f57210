#include "platform/memory.h"

namespace qm {

namespace {

// The port's own calls, made whole in wait().
class WholeCallJob : public BlockJob {
public:
    WholeCallJob(MemoryPort& port, uint64_t bytes, bool hold) : port_(port), bytes_(bytes), hold_(hold) {}
    void wait() override {
        if (hold_) held_ = port_.holdBlock(bytes_);
        else result_ = port_.touchBlock(bytes_);
    }
    TouchResult touched() override { return result_; }
    std::unique_ptr<HeldBlock> held() override { return std::move(held_); }

private:
    MemoryPort& port_;
    uint64_t bytes_;
    bool hold_;
    TouchResult result_ = TouchResult::NotEnoughMemory;
    std::unique_ptr<HeldBlock> held_;
};

}  // namespace

std::unique_ptr<BlockJob> MemoryPort::beginBlock(uint64_t bytes, bool hold) {
    return std::make_unique<WholeCallJob>(*this, bytes, hold);
}

}  // namespace qm
