#pragma once
// The local wall clock and the tick count of Windows.
#include "platform/clock.h"

namespace qm {

class Win32Clock : public ClockPort {
public:
    DateTime now() override;
    uint32_t tickCount() override;
};

}  // namespace qm
