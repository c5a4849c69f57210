#pragma once
// The headless host's virtual clock as the core's clock port.
#include "forms/headless_host.h"
#include "platform/clock.h"

namespace qm::test {

class HostClock : public ClockPort {
public:
    explicit HostClock(HeadlessHost& host) : host_(host) {}
    DateTime now() override { return host_.now(); }
    uint32_t tickCount() override { return host_.tickCount(); }

private:
    HeadlessHost& host_;
};

}  // namespace qm::test
