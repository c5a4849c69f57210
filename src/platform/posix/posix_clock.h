#pragma once
// The local wall clock and a millisecond tick on Linux.
#include "platform/clock.h"

namespace qm {

class PosixClock : public ClockPort {
public:
    // Local time of the user's time zone, to the millisecond.
    DateTime now() override;
    // Milliseconds of the monotonic clock (time since boot), wrapping at 2^32.
    uint32_t tickCount() override;
};

}  // namespace qm
