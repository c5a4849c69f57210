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
};

}  // namespace qm
