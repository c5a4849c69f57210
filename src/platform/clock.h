#pragma once
// The wall clock and the millisecond tick count.
#include <cstdint>

#include "base/datetime.h"

namespace qm {

class ClockPort {
public:
    virtual ~ClockPort() = default;
    // The current local date and time.
    virtual DateTime now() = 0;
    // Milliseconds since the system started, wrapping at 2^32 (GetTickCount).
    virtual uint32_t tickCount() = 0;
};

}  // namespace qm
