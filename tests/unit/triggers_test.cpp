// The automatic, timed and start-up releases on the virtual clock.
#include <gtest/gtest.h>

#include "memory/startup_release.h"
#include "support/core_fixture.h"

namespace qm {
namespace {

using test::MB;

// The main window's controls with the lists filled as at start-up, the triggers wired,
// and the defaults of a first start selected.
struct TriggerTest : test::ReleaseTriggersTest {
    TriggerTest() : ReleaseTriggersTest(makeDateTime(2026, 3, 2, 10, 0, 50)) {}

    void SetUp() override {
        fakes.memory.current = {1024 * MB, 600 * MB, 2048 * MB, 1500 * MB};
        totals.physMB = 1025;
        fill();
        host.attach(frm);
        selectDefaults();
    }

    template <class T>
    T& c(const char* name) { return frm.get<T>(name); }

    void fill() {
        c<ComboBox>("cmbStartupRam").addItem("0 MB");
        for (int n = 2; n <= 1024; n += 2) {
            for (const char* list : {"lstRam", "cmbStartupRam", "lstTimeAmount", "lstAutoAmount", "cmbAutoRelease"}) {
                frm.get<ListControl>(list).addItem(std::to_string(n) + " MB");
            }
        }
        for (int s = 5; s <= 300; s += 5) c<ListBox>("lstAutoInterval").addItem(std::to_string(s));
        for (int p = 10; p <= 100; p += 10) {
            c<ComboBox>("cmbAutoCPU").addItem(std::to_string(p));
            c<ComboBox>("cmbTimeCPU").addItem(std::to_string(p));
        }
        for (int m = 5; m <= 50; m += 5) c<ListBox>("lstTimeInterval").addItem(std::to_string(m));
        for (int s = 1; s <= 250; ++s) c<ComboBox>("cmbStartupWait").addItem(std::to_string(s));
        for (int r = 1; r <= 20; ++r) c<ComboBox>("cmbRetry").addItem(std::to_string(r));
    }

    void selectDefaults() {
        c<ComboBox>("cmbAutoRelease").setListIndex(0);
        c<ListBox>("lstAutoAmount").setListIndex(0);
        c<ListBox>("lstAutoInterval").setListIndex(5);  // 30 s
        c<CheckBox>("chkAutoCPU").setValue(1);
        c<ComboBox>("cmbAutoCPU").setListIndex(5);      // 60 %
        c<ListBox>("lstTimeAmount").setListIndex(0);
        c<OptionButton>("optTimeMinute").setValue(true);
        c<ListBox>("lstTimeInterval").setListIndex(5);  // 30 minutes
        c<CheckBox>("chkTimeCPU").setValue(1);
        c<ComboBox>("cmbTimeCPU").setListIndex(5);
        c<ComboBox>("cmbStartupRam").setListIndex(0);
        c<ComboBox>("cmbStartupWait").setListIndex(0);
        c<ComboBox>("cmbRetry").setListIndex(0);
        c<CheckBox>("chkLowLevel").setValue(0);
    }

    void availableMB(int mb) { fakes.memory.current.availPhys = static_cast<uint64_t>(mb) * MB; }
    template <class Release>
    void switchOn(const char* timer, Release& release) {
        release.startInterval();
        c<Timer>(timer).setEnabled(true);
    }
    bool releasing() { return c<Timer>("tmrRam").isEnabled(); }
};

TEST_F(TriggerTest, AutomaticDefaultsReleaseOnlyAtTheMinimumAndBelowTheCpuLimit) {
    switchOn("tmrAuto", autoRelease);
    availableMB(2);  // at the minimum already when switched on
    host.advance(29000);
    EXPECT_FALSE(releasing()) << "waits one full interval first";
    host.advance(1000);
    ASSERT_TRUE(releasing());
    EXPECT_EQ(engine.releaseTarget(), 4);  // 2 available + 2 MB
    EXPECT_EQ(c<Timer>("tmrRam").interval(), 1000);  // the wait spacing of 1 s
    EXPECT_EQ(autoRelease.intervalStart(), host.now());
}

TEST_F(TriggerTest, AutomaticComparisonsOfMemoryAndCpu) {
    switchOn("tmrAuto", autoRelease);
    availableMB(3);
    host.advance(35000);
    EXPECT_FALSE(releasing()) << "above the minimum";
    c<ComboBox>("cmbAutoRelease").setListIndex(1);  // 4 MB: now equal counts
    availableMB(4);
    lastCPU = 100;
    host.advance(1000);
    EXPECT_FALSE(releasing()) << "100 % is not below 60 %";
    lastCPU = 7;
    host.advance(1000);
    EXPECT_FALSE(releasing()) << "put off by a whole interval";
    host.advance(29000);
    EXPECT_TRUE(releasing());
}

TEST_F(TriggerTest, AutomaticCpuLimitOfOneHundredLetsAnythingBelowGo) {
    c<ComboBox>("cmbAutoCPU").setListIndex(9);
    lastCPU = 99;
    availableMB(2);
    switchOn("tmrAuto", autoRelease);
    host.advance(30000);
    EXPECT_TRUE(releasing());
}

TEST_F(TriggerTest, ARunningReleasePutsTheCheckOffByAFullInterval) {
    availableMB(2);
    switchOn("tmrAuto", autoRelease);
    engine.startRelease(5000, 60000);  // a long on-demand-like cycle
    host.advance(30000);
    EXPECT_EQ(autoRelease.intervalStart(), host.now());
    EXPECT_EQ(fakes.memory.touched.size(), 0u);
}

TEST_F(TriggerTest, ThreeWarningsThenTheQuestionWhichCanDisableThem) {
    availableMB(150);  // 15 % of 1025, above the 4 MB minimum
    c<ComboBox>("cmbAutoRelease").setListIndex(0);
    switchOn("tmrAuto", autoRelease);
    host.messageAnswers = {vbOK, vbOK, vbOK, vbNo, vbYes};
    host.advance(34000);  // interval passes at 30 s, then a check each second
    ASSERT_EQ(host.messages.size(), 5u);
    EXPECT_EQ(host.messages[0].prompt, "Warning the system has only 15 % of Total Physical Memory");
    EXPECT_EQ(host.messages[0].style, vbCritical);
    EXPECT_EQ(host.messages[0].title, "Quillmere");
    EXPECT_EQ(host.messages[3].prompt, "Disable the warning?");
    EXPECT_EQ(host.messages[3].style, vbYesNo + vbQuestion);
    EXPECT_EQ(c<CheckBox>("chkLowLevel").value(), 1);
    EXPECT_EQ(warning.warningsShown(), 0);
    host.advance(5000);
    EXPECT_EQ(host.messages.size(), 5u) << "disabled";
}

TEST_F(TriggerTest, NoSecondCheckWhileAWarningIsOpen) {
    availableMB(150);
    autoRelease.startInterval();
    timedRelease.startInterval();
    c<ListBox>("lstTimeInterval").setListIndex(0);  // 5 minutes
    host.advance(300000);  // both intervals pass with the timers still off
    c<Timer>("tmrAuto").setEnabled(true);
    c<Timer>("tmrTime").setEnabled(true);
    int nested = 0;
    host.onMessage = [&](const ShownMessage&) {
        const size_t before = host.messages.size();
        host.advance(3000);  // ticks keep arriving while the box is open
        nested += static_cast<int>(host.messages.size() - before);
        return vbOK;
    };
    host.advance(1000);
    EXPECT_EQ(nested, 0);
    EXPECT_GE(host.messages.size(), 1u);
}

// A release the user starts while a low-memory warning is open keeps its goal, attempts
// and spacing; the tick that showed the warning starts nothing of its own.
TEST_F(TriggerTest, AReleaseStartedDuringTheWarningIsNotReplaced) {
    availableMB(2);  // below 20 % and at the automatic minimum
    c<ListBox>("lstTimeInterval").setListIndex(0);  // 5 minutes
    for (Timer* timer : {&c<Timer>("tmrAuto"), &c<Timer>("tmrTime")}) {
        autoRelease.startInterval();
        timedRelease.startInterval();
        host.messages.clear();
        host.onMessage = [&](const ShownMessage&) {
            if (!releasing()) engine.startRelease(700, 5000);  // "FreeUp RAM Now" meanwhile
            return vbOK;
        };
        timer->setEnabled(true);
        host.advance(300000);
        timer->setEnabled(false);
        ASSERT_FALSE(host.messages.empty()) << timer->name();
        EXPECT_EQ(engine.releaseTarget(), 700) << timer->name();
        EXPECT_EQ(c<Timer>("tmrRam").interval(), 5000) << timer->name();
        host.onMessage = nullptr;
        c<Timer>("tmrRam").setEnabled(false);  // ends the user's cycle before the next timer
    }
}

TEST_F(TriggerTest, TimedReleaseCountsClockMinutes) {
    switchOn("tmrTime", timedRelease);  // 10:00:50
    availableMB(600);
    host.advance(29 * 60000 + 9000);  // 10:29:59
    EXPECT_FALSE(releasing());
    host.advance(1000);  // 10:30:00: thirty clock minutes
    ASSERT_TRUE(releasing());
    EXPECT_EQ(engine.releaseTarget(), 602);
}

TEST_F(TriggerTest, TimedReleaseInHoursAndPutOffWhenBusy) {
    c<OptionButton>("optTimeHour").setValue(true);
    c<ListBox>("lstTimeInterval").clear();
    for (int h = 1; h <= 24; ++h) c<ListBox>("lstTimeInterval").addItem(std::to_string(h));
    c<ListBox>("lstTimeInterval").setListIndex(5);  // 6 hours
    switchOn("tmrTime", timedRelease);   // 10:00:50
    lastCPU = 60;
    host.advance(359 * 60000);
    EXPECT_EQ(timedRelease.intervalStart(), makeDateTime(2026, 3, 2, 10, 0, 50));
    host.advance(60000);
    EXPECT_EQ(timedRelease.intervalStart(), makeDateTime(2026, 3, 2, 16, 0, 0)) << "60 % is not below 60 %: put off";
    lastCPU = 0;
    host.advance(60000);
    EXPECT_TRUE(fakes.memory.touched.empty()) << "the next attempt is a full interval later";
    host.advance(359 * 60000);
    EXPECT_EQ(fakes.memory.touched.size(), 1u);
    EXPECT_EQ(timedRelease.intervalStart(), makeDateTime(2026, 3, 2, 22, 0, 0));
}

TEST_F(TriggerTest, TimedReleaseWithoutIntervalLogsAndReleasesAtEveryIdleTick) {
    c<ListBox>("lstTimeInterval").setListIndex(-1);
    switchOn("tmrTime", timedRelease);
    host.advance(1000);
    EXPECT_TRUE(log.has("frmMain,tmrTime_Timer", 13));
    EXPECT_TRUE(releasing());
}

TEST_F(TriggerTest, PausedTimeCountsTowardsTheInterval) {
    switchOn("tmrTime", timedRelease);
    host.advance(10 * 60000);
    c<Timer>("tmrTime").setEnabled(false);  // paused
    host.advance(25 * 60000);
    EXPECT_FALSE(releasing());
    c<Timer>("tmrTime").setEnabled(true);   // resumed without touching the start
    host.advance(1000);
    EXPECT_TRUE(releasing());
}

TEST_F(TriggerTest, StartupReleaseOf128MBWith30sWaitAndThreeTries) {
    c<ComboBox>("cmbStartupRam").setListIndex(64);  // 128 MB
    c<ComboBox>("cmbStartupWait").setListIndex(29);  // 30 s
    c<ComboBox>("cmbRetry").setListIndex(2);         // 3 tries
    availableMB(600);
    checkStartupRelease(ctx, engine);
    EXPECT_EQ(engine.releaseTarget(), 728);
    EXPECT_EQ(c<Timer>("tmrRam").interval(), 30000);
    availableMB(100);  // taken by others during the wait: the goal stays
    host.advance(29999);
    EXPECT_TRUE(fakes.memory.touched.empty());
    host.advance(1);
    ASSERT_EQ(fakes.memory.touched.size(), 1u);
    EXPECT_EQ(fakes.memory.touched[0], 728 * MB);
    host.advance(90000);
    EXPECT_EQ(fakes.memory.touched.size(), 3u);
    EXPECT_FALSE(releasing()) << "ended by 120 s";
}

TEST_F(TriggerTest, StartupReleaseNoneByDefaultAndEmptyCountsAsZero) {
    checkStartupRelease(ctx, engine);
    EXPECT_FALSE(releasing());
    c<ComboBox>("cmbStartupRam").setListIndex(-1);
    checkStartupRelease(ctx, engine);
    EXPECT_TRUE(log.has("frmMain,checkStartupRelease"));
    EXPECT_TRUE(releasing());
    EXPECT_EQ(engine.releaseTarget(), 600);
}

}  // namespace
}  // namespace qm
