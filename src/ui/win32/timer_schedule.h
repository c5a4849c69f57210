#pragma once
// The timers of one form on a single native timer. Under Wine every native timer is a
// wake-up and a server round trip of its own each time it fires; the form's timers mostly
// share one interval and start together, so one tick can serve them all.
#include <cstdint>
#include <optional>
#include <vector>

namespace qm::win32 {

class TimerSchedule {
public:
    using Ms = uint64_t;

    // (Re)starts a timer's count: it is first due `interval` ms after `now`.
    void start(int id, int interval, Ms now);
    void stop(int id);
    bool running(int id) const;

    // The timers due at `now`, earliest first (ties in the order they started). A timer
    // due within a few ms comes along, so timers started together keep firing together.
    // Each is due again an interval after the tick that took it.
    std::vector<int> takeDue(Ms now);
    // How long until the next timer is due (none: no timer runs).
    std::optional<Ms> wait(Ms now) const;
    // The period to give the native timer now (none: no timer runs): the next timer's own
    // interval while it is due about an interval away, so a steady beat is never re-armed;
    // otherwise the wait, which puts the beat back in phase.
    std::optional<Ms> period(Ms now) const;

private:
    struct Entry {
        int id;
        Ms interval;
        Ms due;
        uint64_t order;
    };
    static Ms slack(Ms interval);
    const Entry* soonest() const;  // null: no timer runs

    std::vector<Entry> entries_;
    uint64_t started_ = 0;
};

}  // namespace qm::win32
