#include "platform/win32/win32_memory.h"

#include <windows.h>

#include <cstdint>
#include <cstring>
#include <limits>

namespace qm {

MemoryStatus Win32Memory::status() {
    MEMORYSTATUSEX ms{};
    ms.dwLength = sizeof ms;
    if (!GlobalMemoryStatusEx(&ms)) return {};
    return MemoryStatus{ms.ullTotalPhys, ms.ullAvailPhys, ms.ullTotalPageFile, ms.ullAvailPageFile, ms.ullAvailPhys};
}

namespace {

class CommittedBlock : public HeldBlock {
public:
    explicit CommittedBlock(void* block) : block_(block) {}
    ~CommittedBlock() override { VirtualFree(block_, 0, MEM_RELEASE); }
    CommittedBlock(const CommittedBlock&) = delete;
    CommittedBlock& operator=(const CommittedBlock&) = delete;

private:
    void* block_;
};

// Commits and writes the block; null when the system refuses the commit or this process
// cannot address the size. An empty block is one page, so that it can be held too.
std::unique_ptr<CommittedBlock> commitAndWrite(uint64_t bytes) {
    if (bytes > std::numeric_limits<SIZE_T>::max()) return nullptr;
    const auto size = static_cast<SIZE_T>(bytes > 0 ? bytes : 1);
    void* block = VirtualAlloc(nullptr, size, MEM_COMMIT | MEM_RESERVE, PAGE_READWRITE);
    if (!block) return nullptr;
    std::memset(block, ' ', size);
    asm volatile("" : : "r"(block) : "memory");  // the writes are observable: never dropped
    return std::make_unique<CommittedBlock>(block);
}

}  // namespace

TouchResult Win32Memory::touchBlock(uint64_t bytes) {
    if (bytes == 0) return TouchResult::Written;
    return commitAndWrite(bytes) ? TouchResult::Written : TouchResult::NotEnoughMemory;
}

std::unique_ptr<HeldBlock> Win32Memory::holdBlock(uint64_t bytes) { return commitAndWrite(bytes); }

}  // namespace qm
