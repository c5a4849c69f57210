#pragma once
// The machine's memory as one tick sees it. The timer handlers that a second runs
// together (the gauges, the automatic and the timed check) read one status, taken by the
// first of them, so the machine is sampled once a tick and their figures agree. A block
// written (the release engine's) or held (the launcher's, before a program starts) makes the
// next reading a fresh one; so does a tick that comes later. Readings outside a timer
// handler (a click, a launch) are always fresh.
#include "forms/form.h"
#include "platform/clock.h"
#include "platform/memory.h"

namespace qm {

class TickMemory : public MemoryPort {
public:
    // Timers due in the same second fire within a few milliseconds of each other.
    static constexpr uint32_t kSameTickMs = 100;

    TickMemory(MemoryPort& machine, ClockPort& clock) : machine_(machine), clock_(clock) {}

    // Every timer of the form shares the tick's sample from now on: wraps their handlers,
    // so it comes after the handlers are attached.
    void shareWithin(Form& form);

    MemoryStatus status() override;
    TouchResult touchBlock(uint64_t bytes) override;
    std::unique_ptr<HeldBlock> holdBlock(uint64_t bytes) override;
    std::unique_ptr<BlockJob> beginBlock(uint64_t bytes, bool hold) override;

private:
    MemoryPort& machine_;
    ClockPort& clock_;
    int inTimer_ = 0;  // timer handlers running now (one may pump the others)
    MemoryStatus sample_;
    uint32_t sampledAt_ = 0;
    bool sampled_ = false;
};

}  // namespace qm
