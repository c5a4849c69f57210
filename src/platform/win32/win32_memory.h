#pragma once
// Memory of a Windows machine: the extended global status (64-bit counts) and a block
// committed with VirtualAlloc, written byte by byte and released.
#include "platform/memory.h"

namespace qm {

class Win32Memory : public MemoryPort {
public:
    MemoryStatus status() override;
    // A commit the system refuses (or a size this process cannot address) is
    // NotEnoughMemory.
    TouchResult touchBlock(uint64_t bytes) override;
    // The same commit, kept until the handle is dropped; a refused commit gives null.
    std::unique_ptr<HeldBlock> holdBlock(uint64_t bytes) override;
};

}  // namespace qm
