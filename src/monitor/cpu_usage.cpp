#include "monitor/cpu_usage.h"

#include <algorithm>
#include <optional>

#include "base/app_error.h"

namespace qm {

namespace {

constexpr int kNtPlatform = 2;
constexpr const char* kUsageValue = "KERNEL\\CPUUsage";
constexpr uint32_t kValueSize = 4;

// usage = 100 - (idle x 100) / P + 0.5: the product exact in fixed point, the quotient
// and the sums in double precision, the result back in fixed point.
Currency usageFrom(Currency idle, uint8_t processors) {
    if (processors == 0) raiseError(errDivisionByZero);
    const double share = idle.times(100).toDouble() / static_cast<double>(processors);
    return Currency::fromDouble(100.0 - share + 0.5);
}

}  // namespace

clsCPUUsage::clsCPUUsage(Platform& platform, ErrorSink& log)
    : cpu_(platform.cpu), registry_(platform.registry), log_(log) {
    Trap t(log_, "clsCPUUsage,Class_Initialize");
    t([&] { isWinNT_ = cpu_.platformId() == kNtPlatform; });
    if (isWinNT_) {
        t([&] { initNT(); });
    } else {
        init9x();
    }
}

void clsCPUUsage::initNT() {
    // A failed query is no error: the counters stay at 0 and the first sample measures from there.
    const std::optional<CpuCounters> first = cpu_.readCounters();
    if (!first) return;
    oldIdleTime_ = first->idleTime;
    oldSystemTime_ = first->systemTime;
}

void clsCPUUsage::init9x() {
    Trap t(log_, "clsCPUUsage,Class_Initialize");
    RegHandle startKey = 0;
    long status = -1;
    t([&] { status = registry_.openKey(HKEY_DYN_DATA_, "PerfStats\\StartStat", KEY_ALL_ACCESS_, startKey); });
    if (status != ERROR_SUCCESS_) return;
    t([&] { queryUsage(startKey); });  // starts the counter; the value is not used
    t([&] { registry_.closeKey(startKey); });
    t([&] {
        if (registry_.openKey(HKEY_DYN_DATA_, "PerfStats\\StatData", KEY_READ_, perfKey_) != ERROR_SUCCESS_)
            perfKey_ = 0;
    });
}

clsCPUUsage::~clsCPUUsage() {
    if (isWinNT_) return;
    Trap t(log_, "clsCPUUsage,Class_Terminate");
    t([&] { registry_.closeKey(perfKey_); });
    RegHandle stopKey = 0;
    long status = -1;
    t([&] { status = registry_.openKey(HKEY_DYN_DATA_, "PerfStats\\StopStat", KEY_ALL_ACCESS_, stopKey); });
    if (status != ERROR_SUCCESS_) return;
    t([&] { queryUsage(stopKey); });  // stops the counter
    t([&] { registry_.closeKey(stopKey); });
}

int32_t clsCPUUsage::CurrentCPUUsage() { return isWinNT_ ? sampleNT() : sample9x(); }

int32_t clsCPUUsage::sampleNT() {
    Trap t(log_, "clsCPUUsage,CurrentCPUUsage");
    std::optional<CpuCounters> now;
    t([&] { now = cpu_.readCounters(); });
    if (!now) return 0;
    const int32_t result = loadSince(*now, t);
    oldIdleTime_ = now->idleTime;
    oldSystemTime_ = now->systemTime;
    return result;
}

int32_t clsCPUUsage::loadSince(const CpuCounters& now, Trap& t) const {
    Currency idle, elapsed, usage;
    int32_t result = 0;
    t([&] { idle = LI2Currency(now.idleTime) - LI2Currency(oldIdleTime_); });
    t([&] { elapsed = LI2Currency(now.systemTime) - LI2Currency(oldSystemTime_); });
    // With no time elapsed the division is skipped and idle keeps its raw milliseconds.
    t([&] {
        if (elapsed.raw() != 0) idle = Currency::fromDouble(idle.toDouble() / elapsed.toDouble());
    });
    t([&] { usage = usageFrom(idle, now.processors); });
    t([&] { result = usage.floorToInt32(); });
    return result;
}

int32_t clsCPUUsage::sample9x() {
    Trap t(log_, "clsCPUUsage,CurrentCPUUsage");
    t([&] { queryUsage(perfKey_); });
    return valueBuffer_[0];
}

void clsCPUUsage::queryUsage(RegHandle key) {
    RegValue value;
    if (registry_.queryValue(key, kUsageValue, value, kValueSize) != ERROR_SUCCESS_) return;
    std::copy_n(value.data.begin(), std::min<size_t>(value.data.size(), valueBuffer_.size()), valueBuffer_.begin());
}

}  // namespace qm
