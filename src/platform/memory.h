#pragma once
// Memory of the machine: the global status and the block the release engine touches.
#include <cstdint>
#include <memory>

namespace qm {

// Byte counts of the global memory status (64-bit, so machines above 2 GB report truly).
struct MemoryStatus {
    uint64_t totalPhys = 0;
    uint64_t availPhys = 0;
    uint64_t totalPageFile = 0;
    uint64_t availPageFile = 0;
    // Memory no one uses at all, page cache excluded (Linux MemFree). Windows counts its
    // standby list as available and has no figure apart: there it is availPhys.
    uint64_t freePhys = 0;
};

enum class TouchResult {
    Written,        // the block was committed, written and freed (on Linux up to the safe budget)
    NotEnoughMemory // the block could not be had (refused, or beyond what can safely be backed)
};

// A block committed and written that stays allocated until this handle is dropped.
class HeldBlock {
public:
    virtual ~HeldBlock() = default;
};

// One block's writing in three steps, so that only the middle one waits and it may wait on
// another thread than the window's: the port's beginBlock (on the caller's thread) takes
// what the port shares and starts the writer; wait() (on any thread) waits until the block
// is written; touched() or held() (on the caller's thread again) gives the result. A job
// dropped unfinished ends its writer, whose memory is then returned.
class BlockJob {
public:
    virtual ~BlockJob() = default;
    // Until the block is written, and for a touch also freed; touches nothing the port shares.
    virtual void wait() = 0;
    // After wait: a touch's result.
    virtual TouchResult touched() = 0;
    // After wait: a hold's block, null when it could not be had.
    virtual std::unique_ptr<HeldBlock> held() = 0;
};

class MemoryPort {
public:
    virtual ~MemoryPort() = default;
    // The current global memory status.
    virtual MemoryStatus status() = 0;
    // Commits a block of `bytes`, writes every byte of it and frees it before returning.
    virtual TouchResult touchBlock(uint64_t bytes) = 0;
    // Commits a block of `bytes` and writes every byte of it, as touchBlock does, but keeps
    // it until the handle is dropped; null when the block could not be had.
    virtual std::unique_ptr<HeldBlock> holdBlock(uint64_t bytes) = 0;
    // A touchBlock (or, with `hold`, a holdBlock) made in the steps of BlockJob. By default
    // the whole call runs in wait(), for ports that share nothing while writing.
    virtual std::unique_ptr<BlockJob> beginBlock(uint64_t bytes, bool hold);
};

}  // namespace qm
