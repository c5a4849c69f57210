#include "ui/win32/timer_schedule.h"

#include <algorithm>

namespace qm::win32 {

// How early a timer may be taken, and how far from its due a tick may come before the
// native timer is put back in phase.
TimerSchedule::Ms TimerSchedule::slack(Ms interval) { return std::min<Ms>(interval / 8, 50); }

// A timer whose interval is a multiple of a running one's keeps that one's beat: its first
// tick is the first beat about a whole interval away (at most one beat later than on a
// timer of its own), so the two wake the program together from then on.
void TimerSchedule::start(int id, int interval, Ms now) {
    stop(id);
    const Ms period = static_cast<Ms>(std::max(interval, 1));
    const Ms earliest = now + period - slack(period);
    Ms due = now + period;
    for (const Entry& e : entries_) {
        if (period % e.interval != 0) continue;
        const Ms beats = earliest > e.due ? (earliest - e.due + e.interval - 1) / e.interval : 0;
        due = e.due + beats * e.interval;
        break;
    }
    entries_.push_back({id, period, due, started_++});
}

void TimerSchedule::stop(int id) {
    std::erase_if(entries_, [id](const Entry& e) { return e.id == id; });
}

bool TimerSchedule::running(int id) const {
    return std::any_of(entries_.begin(), entries_.end(), [id](const Entry& e) { return e.id == id; });
}

// Ticks missed while the program was busy are not made up: the next one stays on the beat.
std::vector<int> TimerSchedule::takeDue(Ms now) {
    std::vector<Entry*> taken;
    for (Entry& e : entries_) {
        if (e.due <= now + slack(e.interval)) taken.push_back(&e);
    }
    std::sort(taken.begin(), taken.end(),
              [](const Entry* a, const Entry* b) { return a->due != b->due ? a->due < b->due : a->order < b->order; });
    std::vector<int> ids;
    for (Entry* e : taken) {
        ids.push_back(e->id);
        e->due += e->interval;
        if (e->due <= now) e->due += (now - e->due) / e->interval * e->interval + e->interval;
    }
    return ids;
}

const TimerSchedule::Entry* TimerSchedule::soonest() const {
    const Entry* next = nullptr;
    for (const Entry& e : entries_) {
        if (!next || e.due < next->due) next = &e;
    }
    return next;
}

// A native timer counts its next period from the moment its tick is handled, so its ticks
// drift later by the handling time. Arming it with the wait each time it is off would
// swing between a short and a long period on every tick; this re-arms only when the drift
// has left the slack, and then twice: once into phase, once back to the interval.
std::optional<TimerSchedule::Ms> TimerSchedule::period(Ms now) const {
    const Entry* next = soonest();
    if (!next) return std::nullopt;
    const Ms left = *wait(now);
    const Ms gap = left > next->interval ? left - next->interval : next->interval - left;
    return gap <= slack(next->interval) ? next->interval : left;
}

std::optional<TimerSchedule::Ms> TimerSchedule::wait(Ms now) const {
    const Entry* next = soonest();
    if (!next) return std::nullopt;
    return next->due > now ? next->due - now : 0;
}

}  // namespace qm::win32
