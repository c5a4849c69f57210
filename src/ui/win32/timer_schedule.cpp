#include "ui/win32/timer_schedule.h"

#include <algorithm>

namespace qm::win32 {

// How early a timer may be taken, and how far a native timer's period may be from the wait
// it serves: a native timer that fires a little late must not cost a re-arm every tick.
TimerSchedule::Ms TimerSchedule::slack(Ms interval) { return std::min<Ms>(interval / 8, 50); }

bool TimerSchedule::serves(Ms armed, Ms wanted) {
    const Ms gap = armed > wanted ? armed - wanted : wanted - armed;
    return gap <= slack(armed);
}

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

std::optional<TimerSchedule::Ms> TimerSchedule::wait(Ms now) const {
    std::optional<Ms> soonest;
    for (const Entry& e : entries_) {
        const Ms left = e.due > now ? e.due - now : 0;
        if (!soonest || left < *soonest) soonest = left;
    }
    return soonest;
}

}  // namespace qm::win32
