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
    return MemoryStatus{ms.ullTotalPhys, ms.ullAvailPhys, ms.ullTotalPageFile, ms.ullAvailPageFile};
}

TouchResult Win32Memory::touchBlock(uint64_t bytes) {
    if (bytes == 0) return TouchResult::Written;
    if (bytes > std::numeric_limits<SIZE_T>::max()) return TouchResult::NotEnoughMemory;
    const auto size = static_cast<SIZE_T>(bytes);
    void* block = VirtualAlloc(nullptr, size, MEM_COMMIT | MEM_RESERVE, PAGE_READWRITE);
    if (!block) return TouchResult::NotEnoughMemory;
    std::memset(block, ' ', size);
    asm volatile("" : : "r"(block) : "memory");  // the writes are observable: never dropped
    VirtualFree(block, 0, MEM_RELEASE);
    return TouchResult::Written;
}

}  // namespace qm
