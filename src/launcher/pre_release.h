#pragma once
// The launcher's own release before a program starts: one synchronous loop, paced by
// passes of event processing instead of a timer; while a block is written the window's
// events go on. It neither uses nor changes tmrRam or the release cycle's state.
#include <cstdint>
#include <memory>

#include "context/subsystem_context.h"
#include "memory/amount_lists.h"
#include "platform/memory.h"

namespace qm {

class ComboBox;

class PreRelease {
public:
    // `totals`: the machine's memory totals the shares are taken of.
    PreRelease(SubsystemContext& ctx, const MemoryTotals& totals);

    // True when "Don't Free Up Any RAM" is chosen: the program starts at once.
    bool skipped() const;
    // The gain in MB the chosen share of totalPhysMB asks for (0 with no share chosen).
    int32_t targetMB() const;
    // Up to the limit shown in cmbLauncher: four event passes, a measurement, a block of
    // (now + target) MB held in place of the previous one, four event passes again. The
    // newest block is handed back, to be freed once the program has started.
    std::unique_ptr<HeldBlock> run(Trap& t);
    // The machine as the last run found it before its first block.
    const MemoryStatus& before() const { return before_; }

private:
    void processEvents(Trap& t);
    // Replaces the held block with a new one of `blockMB`, capped at the machine's total;
    // the old one goes only once the new one exists. A refusal keeps the old one.
    void holdNext(std::unique_ptr<HeldBlock>& held, int64_t blockMB, uint64_t totalPhys);
    std::unique_ptr<HeldBlock> holdWhileAnswering(uint64_t bytes);

    SubsystemContext& ctx_;
    const MemoryTotals& totals_;
    ComboBox& cmbLauncher_;
    MemoryStatus before_;
};

}  // namespace qm
