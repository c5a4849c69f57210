// /proc/stat: any text reads without fault, and the idle time of a well-formed
// all-processor line is its idle plus iowait fields.
#include <string>

#include "fuzz_check.h"
#include "platform/posix/posix_cpu.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    FuzzedDataProvider in(data, size);
    uint64_t field[5];
    std::string line = "cpu ";
    for (uint64_t& value : field) {
        value = in.ConsumeIntegral<uint32_t>();
        line += " " + std::to_string(value);
    }
    const std::string rest = in.ConsumeRemainingBytesAsString();
    const std::optional<uint64_t> idle = qm::parseProcStat("cpu0 1 2 3 4 5\n" + line + "\n" + rest);
    qm::fuzz::require(idle && *idle == field[3] + field[4], "idle plus iowait of the all-processor line");

    const std::optional<uint64_t> any = qm::parseProcStat(rest);
    if (any) {
        const qm::CpuCounters counters = qm::cpuCountersFrom(*any, 100, 4, 0);
        qm::fuzz::require(counters.idleTime >= 0, "idle time is never negative");
    }
    return 0;
}
