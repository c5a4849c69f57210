#include "platform/posix/posix_clock.h"

#include <ctime>

namespace qm {

DateTime PosixClock::now() {
    timespec ts {};
    ::clock_gettime(CLOCK_REALTIME, &ts);
    tm local {};
    ::localtime_r(&ts.tv_sec, &local);
    // tm_gmtoff is the zone's offset at this moment, daylight saving included.
    const int64_t localSeconds = static_cast<int64_t>(ts.tv_sec) + local.tm_gmtoff;
    return DateTime{localSeconds * 1000 + ts.tv_nsec / 1000000};
}

uint32_t PosixClock::tickCount() {
    timespec ts {};
    ::clock_gettime(CLOCK_MONOTONIC, &ts);
    const uint64_t ms = static_cast<uint64_t>(ts.tv_sec) * 1000u + static_cast<uint64_t>(ts.tv_nsec) / 1000000u;
    return static_cast<uint32_t>(ms);
}

}  // namespace qm
