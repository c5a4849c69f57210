// The form's timers on one native timer: who fires on which tick, the shared beat, and
// the form's timers against a real window.
#include <gtest/gtest.h>
#include <windows.h>

#include <string>

#include "forms/form.h"
#include "ui/win32/timer_schedule.h"
#include "ui/win32/win32_host.h"

namespace qm::win32 {
namespace {

using Ids = std::vector<int>;

TEST(TimerSchedule, TimersStartedTogetherShareEveryTickInTheirStartOrder) {
    TimerSchedule s;
    s.start(7, 1000, 0);
    s.start(3, 1000, 2);
    s.start(5, 1000, 30);
    EXPECT_EQ(s.wait(0), 1000u);
    EXPECT_EQ(s.takeDue(900), Ids{}) << "not yet due";
    EXPECT_EQ(s.takeDue(1001), (Ids{7, 3, 5})) << "started moments apart, they share the first tick";
    EXPECT_EQ(s.takeDue(1500), Ids{});
    EXPECT_EQ(s.wait(1500), 500u) << "each is due again an interval after its tick";
    EXPECT_EQ(s.takeDue(2000), (Ids{7, 3, 5}));
}

TEST(TimerSchedule, ALaterTimerJoinsTheBeatOfAnIntervalThatDividesItsOwn) {
    TimerSchedule s;
    s.start(1, 1000, 0);
    s.start(2, 1000, 400);   // first beat a whole interval away: 2000
    s.start(3, 2000, 400);   // 3000, then every other beat
    s.start(4, 1500, 400);   // no common beat: a count of its own
    EXPECT_EQ(s.takeDue(1000), Ids{1});
    EXPECT_EQ(s.wait(1000), 900u) << "the timer of its own is next";
    EXPECT_EQ(s.takeDue(1900), Ids{4});
    EXPECT_EQ(s.takeDue(2000), (Ids{1, 2}));
    EXPECT_EQ(s.takeDue(3000), (Ids{1, 2, 3}));
    EXPECT_EQ(s.takeDue(3400), Ids{4});
    EXPECT_EQ(s.takeDue(4000), (Ids{1, 2}));
    EXPECT_EQ(s.takeDue(4900), Ids{4});
    EXPECT_EQ(s.takeDue(5000), (Ids{1, 2, 3}));
}

TEST(TimerSchedule, StopsRestartsAndMissedTicks) {
    TimerSchedule s;
    EXPECT_FALSE(s.wait(0).has_value()) << "no timer, no native timer";
    s.start(1, 1000, 0);
    EXPECT_EQ(s.takeDue(3500), Ids{1}) << "missed ticks are not made up";
    EXPECT_EQ(s.wait(3500), 500u) << "and the beat is kept";
    s.start(1, 300, 3600);
    EXPECT_EQ(s.wait(3600), 300u) << "a new start begins the count again";
    EXPECT_TRUE(s.running(1));
    s.stop(1);
    EXPECT_FALSE(s.running(1));
    EXPECT_EQ(s.takeDue(5000), Ids{});
    EXPECT_FALSE(s.wait(5000).has_value());
}

// A native timer like Wine's: each period is counted from the moment the tick was handled,
// `handling` ms after it fired. Returns how often it had to be armed anew over `ticks`.
struct DriftRun {
    int rearms = 0;
    int taken = 0;
    TimerSchedule::Ms lastTick = 0;
};
DriftRun runDrifting(int ticks, TimerSchedule::Ms handling) {
    TimerSchedule s;
    s.start(1, 1000, 0);
    DriftRun run;
    TimerSchedule::Ms armed = *s.period(0), fires = armed;
    for (int i = 0; i < ticks; ++i) {
        const TimerSchedule::Ms now = fires + handling;
        run.taken += static_cast<int>(s.takeDue(now).size());
        run.lastTick = now;
        const TimerSchedule::Ms wanted = *s.period(now);
        if (wanted != armed) ++run.rearms, armed = wanted;
        fires = now + armed;
    }
    return run;
}

TEST(TimerSchedule, ANativeTimerThatDriftsIsReArmedRarelyAndKeepsTheBeat) {
    const DriftRun steady = runDrifting(200, 0);
    EXPECT_EQ(steady.rearms, 0) << "a timer on time keeps its native timer";
    EXPECT_EQ(steady.taken, 200);
    const DriftRun drifting = runDrifting(200, 3);
    EXPECT_LE(drifting.rearms, 200 / 5) << "not once a tick";
    EXPECT_GE(drifting.taken, 199) << "every tick serves the timer";
    EXPECT_NEAR(static_cast<double>(drifting.lastTick), 200 * 1000.0, 60.0) << "the beat is kept, not lost by the drift";
    TimerSchedule s;
    s.start(1, 1000, 0);
    EXPECT_EQ(s.period(0), 1000u);
    EXPECT_EQ(s.period(700), 300u) << "out of phase: the wait itself";
    EXPECT_FALSE(TimerSchedule{}.period(0).has_value());
}

void pumpUntil(const std::function<bool()>& done, int ms) {
    const ULONGLONG end = GetTickCount64() + static_cast<ULONGLONG>(ms);
    while (!done() && GetTickCount64() < end) {
        MSG msg;
        while (PeekMessageA(&msg, nullptr, 0, 0, PM_REMOVE)) DispatchMessageA(&msg);
        Sleep(5);
    }
}

TEST(Win32FormTimers, TimersOfAFormFireTogetherAndAStoppedOneIsLeftOut) {
    Win32Host host;
    Form frm{"frmTimers"};
    Timer& first = frm.add<Timer>("tmrFirst");
    Timer& second = frm.add<Timer>("tmrSecond");
    for (Timer* t : {&first, &second}) t->setInterval(40);
    std::string fired;
    first.onTimer = [&] { fired += 'a'; };
    second.onTimer = [&] { fired += 'b'; };
    host.attach(frm);
    first.setEnabled(true);
    second.setEnabled(true);
    pumpUntil([&] { return fired.size() >= 4; }, 2000);
    EXPECT_EQ(fired.substr(0, 4), "abab") << "one tick serves both, in their start order";

    first.onTimer = [&] { fired += 'a'; second.setEnabled(false); };
    fired.clear();
    pumpUntil([&] { return fired.size() >= 2; }, 2000);
    EXPECT_EQ(fired, "aa") << "stopped by the first, the second is left out of the same tick";

    first.setEnabled(false);
    fired.clear();
    pumpUntil([] { return false; }, 150);
    EXPECT_EQ(fired, "") << "both stopped: no tick";
}

}  // namespace
}  // namespace qm::win32
