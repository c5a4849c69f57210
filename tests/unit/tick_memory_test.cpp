// One sample of the machine's memory per tick: the timers of a second share it, and
// nothing else is handed an old figure.
#include "monitor/tick_memory.h"

#include <gtest/gtest.h>

#include "support/host_clock.h"
#include "support/test_app.h"

namespace qm::test {
namespace {

// A form with one timer whose handler runs the test's body, on the headless host's clock.
struct TickRig {
    HeadlessHost host;
    HostClock clock{host};
    FakeMemory machine;
    TickMemory memory{machine, clock};
    Form form{"frmTick"};
    Timer& timer = form.add<Timer>("tmrTick");
    std::function<void()> body;

    explicit TickRig(std::function<void()> handler) : body(std::move(handler)) {
        timer.onTimer = [this] { body(); };
        memory.shareWithin(form);
        timer.setInterval(1000);
        timer.setEnabled(true);
        host.attach(form);
    }
    int samplesOver(int ms) {
        const int before = machine.statusCalls;
        host.advance(ms);
        return machine.statusCalls - before;
    }
};

TEST(TickMemory, HandlersOfOneTickShareASampleAndABlockOrALaterTickTakesANewOne) {
    std::vector<uint64_t> seen;
    TickRig rig([&] {
        seen.push_back(rig.memory.status().availPhys);
        rig.machine.current.availPhys += 1;  // the machine moves on within the tick
        seen.push_back(rig.memory.status().availPhys);
    });
    const uint64_t start = rig.machine.current.availPhys;
    EXPECT_EQ(rig.samplesOver(1000), 1);
    EXPECT_EQ(seen, (std::vector<uint64_t>{start, start}));
    EXPECT_EQ(rig.samplesOver(1000), 1);  // the next second samples anew
    EXPECT_EQ(seen.back(), start + 1);

    rig.body = [&] {
        rig.memory.status();
        rig.memory.touchBlock(1024);  // what a release step wrote shows at once
        seen.push_back(rig.memory.status().availPhys);
    };
    rig.machine.freedPerTouch = 5;
    EXPECT_EQ(rig.samplesOver(1000), 2);
    EXPECT_EQ(seen.back(), rig.machine.current.availPhys);

    // A block written in the background: the machine's own job is begun, and its end too
    // makes the next reading fresh.
    rig.body = [&] {
        rig.memory.status();
        std::unique_ptr<BlockJob> job = rig.memory.beginBlock(1024, false);
        job->wait();
        EXPECT_EQ(job->touched(), TouchResult::Written);
        seen.push_back(rig.memory.status().availPhys);
    };
    EXPECT_EQ(rig.samplesOver(1000), 2);
    EXPECT_EQ(rig.machine.jobsBegun, 1);
    EXPECT_EQ(seen.back(), rig.machine.current.availPhys);
}

TEST(TickMemory, ReadingsOutsideATimerAreAlwaysFresh) {
    TickRig rig([] {});
    rig.host.advance(1000);
    rig.memory.status();
    rig.machine.current.availPhys = 7;
    EXPECT_EQ(rig.memory.status().availPhys, 7u);  // a click right after a tick
    EXPECT_EQ(rig.machine.statusCalls, 2);
}

// The whole program, with the automatic and the timed release on: once the automatic
// check's first interval has passed, it runs every second beside the gauges, and the
// machine is still read once a second for both.
TEST(TickMemory, TheRunningProgramSamplesTheMachineOnceASecond) {
    TestApp app;
    app.presetCheck("Auto", "Active", "chkAutoActive", 1);
    app.presetCheck("Time", "Active", "chkTimeActive", 1);
    app.load();
    ASSERT_TRUE(app.timer("tmrAuto").isEnabled());
    ASSERT_TRUE(app.timer("tmrTime").isEnabled());
    app.get<ComboBox>("cmbUpdateGraph").setListIndex(0);  // the gauges refresh every tick
    app.get<CheckBox>("chkAutoCPU").setValue(0);         // never put off for a busy processor
    app.host.advance(31'000);                            // the stored check interval is 30 s
    const int before = app.fakes.memory.statusCalls;
    app.host.advance(10'000);
    EXPECT_EQ(app.fakes.memory.statusCalls - before, 10);
    EXPECT_TRUE(app.log.entries.empty());
}

}  // namespace
}  // namespace qm::test
