// /proc/meminfo and the figures built on it: any text gives a consistent status (nothing
// available beyond the total, a budget within what is available), and the numbers of a
// well-formed text read back exactly.
#include <string>
#include <vector>

#include "fuzz_check.h"
#include "platform/posix/proc_memory_text.h"

using namespace qm::posix;

namespace {

void checkStatus(const Meminfo& info, const std::vector<CgroupLevel>& levels) {
    const qm::MemoryStatus status = effectiveStatus(info, levels);
    qm::fuzz::require(status.availPhys <= status.totalPhys, "available RAM within the total");
    qm::fuzz::require(status.totalPhys <= info.memTotal, "limits only lower the total");
    qm::fuzz::require(status.availPageFile <= status.totalPageFile, "available page file within its total");
    qm::fuzz::require(safeBudget(info, levels) <= status.availPageFile, "the budget within what is available");
}

std::string line(const char* name, uint64_t kb) { return std::string(name) + ":  " + std::to_string(kb) + " kB\n"; }

void checkReadBack(FuzzedDataProvider& in) {
    const uint64_t total = in.ConsumeIntegral<uint32_t>() + 1ull, available = in.ConsumeIntegral<uint32_t>();
    const uint64_t swap = in.ConsumeIntegral<uint32_t>(), swapFree = in.ConsumeIntegral<uint32_t>();
    const std::string text = line("MemTotal", total) + line("MemFree", 1) + line("MemAvailable", available) +
                             line("SwapTotal", swap) + line("SwapFree", swapFree);
    const std::optional<Meminfo> info = parseMeminfo(text);
    qm::fuzz::require(info.has_value(), "a well-formed text reads");
    qm::fuzz::require(info->memTotal == total * 1024 && info->memAvailable == std::min(available, total) * 1024 &&
                          info->swapFree == std::min(swapFree, swap) * 1024,
                      "the fields read back in bytes");
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    FuzzedDataProvider in(data, size);
    checkReadBack(in);
    std::vector<CgroupLevel> levels(in.ConsumeIntegralInRange<size_t>(0, 3));
    for (CgroupLevel& level : levels) level = {in.ConsumeIntegral<uint64_t>(), in.ConsumeIntegral<uint64_t>()};
    const std::optional<Meminfo> info = parseMeminfo(in.ConsumeRemainingBytesAsString());
    if (info) {
        qm::fuzz::require(info->memAvailable <= info->memTotal && info->swapFree <= info->swapTotal,
                          "nothing free beyond its total");
        checkStatus(*info, levels);
    }
    return 0;
}
