#pragma once
// The release cycle: a goal for the available physical memory, then one block of the
// goal's size committed, written and freed per tick of tmrRam until the goal is reached
// or the retry limit is used up. A block is written off the window's thread, so the
// window goes on answering; a tick that comes while it is written waits for it.
#include <cstdint>
#include <functional>
#include <memory>
#include <string>

#include "context/subsystem_context.h"

namespace qm {

class CommandButton;
class ComboBox;
class ListBox;
class Timer;

// Waits for the job off the window's thread and hands it to `done` on it, unless `alive`'s
// owner is gone by then. An error the wait raised is raised again by the job's result.
void runBlockJob(Host& host, std::unique_ptr<BlockJob> job, const std::shared_ptr<bool>& alive,
                 std::function<void(BlockJob&)> done);

// What a release cycle changed: the machine before its first step and when it ended.
struct ReleaseResult {
    MemoryStatus before, after;
};

class ReleaseEngine {
public:
    // Refused blocks a cycle may meet before it gives up: a refusal is not an attempt,
    // so without this a cycle on a machine that can never back its block would run on.
    static constexpr int32_t kMaxRefusedBlocks = 10;

    explicit ReleaseEngine(SubsystemContext& ctx);

    // Available physical memory in whole MB (halves to even).
    int32_t availableMB();
    // The number of an amount entry ("512 MB" gives 512); error 13 when there is none.
    static int32_t entryMB(const std::string& text);
    // Starts a cycle; callers test isReleasing() first.
    void startRelease(int32_t targetMB, int spacingMs);
    // A cycle runs exactly while tmrRam is enabled.
    bool isReleasing() const;
    // The retry limit shown in cmbRetry, read afresh on every call (0 without a number).
    int32_t retryLimit() const;
    // The attempt spacing of the start-up, automatic and timed releases.
    int waitSpacingMs() const;
    // Blocks refused for lack of memory in the running cycle.
    int32_t refusedBlocks() const { return refused_; }
    // The running cycle's goal (MB) and the blocks written so far; 32-bit so that
    // machines above 2 GB (and above 32 GB) have room.
    int32_t releaseTarget() const { return target_; }
    int32_t releaseAttempts() const { return attempts_; }
    // A block of the running cycle is being written.
    bool stepInFlight() const { return inFlight_; }

    void tmrRam_Timer();
    void cmdRam_Click();
    // The on-demand release of `amountMB` beyond what is available now, as the button
    // starts it; false (and nothing started) while a cycle runs.
    bool startOnDemand(int32_t amountMB);

    // Told when a cycle ends, whichever trigger started it.
    std::function<void(const ReleaseResult&)> onCycleEnd;

private:
    // Ends the cycle; `seen` is the tick's reading when it has one.
    void stopCycle(const MemoryStatus* seen = nullptr);
    void startGoalBlock(uint64_t totalPhys);
    void finishStep(TouchResult result);

    SubsystemContext& ctx_;
    Timer& tmrRam_;
    CommandButton& cmdRam_;
    ListBox& lstRam_;
    ComboBox& cmbRetry_;
    ComboBox& cmbStartupWait_;
    int32_t target_ = 0;
    int32_t attempts_ = 0;
    int32_t refused_ = 0;
    bool inFlight_ = false;
    MemoryStatus before_;
    std::shared_ptr<bool> alive_ = std::make_shared<bool>(true);
};

}  // namespace qm
