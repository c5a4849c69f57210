#pragma once
// Memory of a Linux machine: /proc/meminfo capped by the cgroup limits (v1 and v2) above
// this process, and a block written by a short-lived child process that the OOM killer
// takes first and that stops at a safe budget, so no one else is ever killed for it.
#include <sys/types.h>

#include <cstdint>
#include <memory>
#include <string>
#include <vector>

#include "platform/memory.h"
#include "platform/posix/kept_file.h"
#include "platform/posix/proc_memory_text.h"

namespace qm {

// What the last touchBlock or holdBlock did, as the child reported it.
struct TouchReport {
    uint64_t bytesWritten = 0;
    uint64_t baselineRss = 0;  // the child's resident size before writing
    uint64_t peakRss = 0;      // its high-water mark after writing (VmHWM)
    int exitCode = -1;         // the child's exit code; -1 when it did not exit normally
    int signal = 0;            // the signal that ended the child, 0 when none
};

namespace posix {
struct BudgetProbe;
// What the writing child sends back once its block is written.
struct ChildReport {
    uint64_t written = 0, baselineRss = 0, peakRss = 0;
    int32_t code = -1;
};
}  // namespace posix

// A block held by its writing child: dropping the handle ends the child, which frees it.
class PosixHeldBlock : public HeldBlock {
public:
    PosixHeldBlock(pid_t pid, int releaseFd) : pid_(pid), releaseFd_(releaseFd) {}
    ~PosixHeldBlock() override;
    PosixHeldBlock(const PosixHeldBlock&) = delete;
    PosixHeldBlock& operator=(const PosixHeldBlock&) = delete;
    pid_t pid() const { return pid_; }

private:
    pid_t pid_;
    int releaseFd_;
};

class PosixMemory : public MemoryPort {
public:
    static constexpr uint64_t kChunkBytes = 32ull << 20;
    // Readings between two looks at the process's group membership.
    static constexpr int kMembershipEvery = 10;

    // The roots are parameters so tests can present a recorded machine.
    explicit PosixMemory(std::string procRoot = "/proc", std::string cgroupRoot = "/sys/fs/cgroup");

    MemoryStatus status() override;
    // Written: the block was written whole, or up to the safe budget when the goal lies
    // beyond it (such a step is still an attempt). NotEnoughMemory: nothing could safely
    // be written, the mapping or the child was refused, or the child was killed.
    TouchResult touchBlock(uint64_t bytes) override;
    // The same child keeps the block until the handle is dropped. Blocks already held
    // (by this or another caller) occupy memory, so the budget measured while writing
    // leaves room for them: a new block is never written beyond what is still safe.
    std::unique_ptr<HeldBlock> holdBlock(uint64_t bytes) override;
    // The writing child is forked here, on the caller's thread; wait() reads its report.
    std::unique_ptr<BlockJob> beginBlock(uint64_t bytes, bool hold) override;

    // What the last block written reported, once its job gave its result.
    const TouchReport& lastTouch() const { return last_; }

    // A writing child and what it reported.
    struct Writer {
        pid_t pid = -1;
        int reportFd = -1;
        int releaseFd = -1;
        posix::ChildReport report;
        TouchReport touch;
        bool reaped = false;
        void collect(bool hold);
        void abandon();
        bool wrote() const;
    };

private:
    // A cgroup level that has a limit file. A level that limits something has its limit
    // read each time; one that did not is looked at again with the membership.
    struct Level {
        posix::KeptFile limit, usage;
        bool bindsNothing = false;
    };
    // The levels of the group named by /proc/self/cgroup (kept, and followed when the
    // process moves) whose limit lies below `boundless`; false when one of their files
    // could not be read.
    bool readLevels(std::vector<std::string>* usagePaths, uint64_t boundless);
    // Reads one level into readings_; false when its limit file could not be read.
    bool readLevel(Level& level, std::vector<std::string>* usagePaths, uint64_t boundless);
    void followMembership();
    void resolveLevels(std::string_view membership);
    void addLevels(const std::string& mount, const std::string& path, const char* limitName, const char* usageName);
    const std::vector<posix::CgroupLevel>& currentLevels(uint64_t boundless, std::vector<std::string>* usagePaths = nullptr);

    posix::BudgetProbe budgetProbe();
    Writer startWriter(uint64_t bytes, bool hold);

    std::string procRoot_, cgroupRoot_;
    posix::KeptFile meminfo_, membership_;
    std::string resolvedFor_;  // the membership text the levels were found for
    bool resolved_ = false;
    int readingsSinceMembership_ = 0;
    std::vector<Level> levels_;
    std::vector<posix::CgroupLevel> readings_;
    TouchReport last_;
};

}  // namespace qm
