#include "memory/release_engine.h"

#include "forms/headless_host.h"
#include "support/core_fixture.h"
#include "support/error_of.h"

namespace qm::test {
namespace {

class ReleaseEngineTest : public MemoryPageTest {
protected:
    ReleaseEngineTest() {
        machine(1024, 300);
        for (int n = 1; n <= 20; ++n) control<ComboBox>("cmbRetry").addItem(std::to_string(n));
        for (int n = 1; n <= 250; ++n) control<ComboBox>("cmbStartupWait").addItem(std::to_string(n));
        for (int mb = 2; mb <= 2000; mb += 2) control<ListBox>("lstRam").addItem(std::to_string(mb) + " MB");
        retry(1);
    }
    void retry(int limit) { control<ComboBox>("cmbRetry").setListIndex(limit - 1); }
    void amount(int mb) { control<ListBox>("lstRam").setListIndex(mb / 2 - 1); }
    Timer& tmrRam() { return control<Timer>("tmrRam"); }
    void clickRam() { control<CommandButton>("cmdRam").userClick(); }
    std::vector<uint64_t> blocks(std::initializer_list<uint64_t> mbs) {
        std::vector<uint64_t> bytes;
        for (uint64_t mb : mbs) bytes.push_back(mb * MB);
        return bytes;
    }
};

TEST_F(ReleaseEngineTest, OnDemandGoalIsAvailablePlusAmountAndEachStepTouchesTheWholeGoal) {
    amount(512);
    clickRam();
    EXPECT_TRUE(engine.isReleasing());
    EXPECT_EQ(engine.releaseTarget(), 812);
    EXPECT_EQ(tmrRam().interval(), 1000);
    EXPECT_TRUE(control<CommandButton>("cmdRam").enabled());  // disabled only while the click runs
    host.advance(999);
    EXPECT_TRUE(fakes.memory.touched.empty());  // the first step runs one spacing later
    host.advance(1);
    EXPECT_EQ(fakes.memory.touched, blocks({812}));
    EXPECT_EQ(engine.releaseAttempts(), 1);
    EXPECT_TRUE(engine.isReleasing());
    host.advance(1000);  // limit 1 used up: this tick only stops
    EXPECT_FALSE(engine.isReleasing());
    EXPECT_EQ(engine.releaseAttempts(), 0);
    EXPECT_EQ(fakes.memory.touched.size(), 1u);
    EXPECT_TRUE(log.entries.empty());
}

// The block is written off the window's thread: meanwhile the window answers, the next
// ticks of tmrRam wait for it and a click meets the rule of a running cycle.
TEST_F(ReleaseEngineTest, AStepInFlightHoldsTheNextTicksAndTheRunningCycleRule) {
    host.holdBackground = true;
    retry(3);
    amount(512);
    clickRam();
    host.advance(1000);
    ASSERT_EQ(host.backgroundHeld(), 1u);
    EXPECT_TRUE(engine.stepInFlight());
    host.advance(5000);
    EXPECT_EQ(host.backgroundHeld(), 1u) << "no tick starts a second block";
    EXPECT_EQ(engine.releaseAttempts(), 0);
    clickRam();
    ASSERT_EQ(host.messages.size(), 1u);
    EXPECT_EQ(host.messages[0].prompt, "The application is already releasing RAM.Please wait or try later.");
    EXPECT_EQ(engine.releaseTarget(), 812) << "the running goal is kept";

    ASSERT_TRUE(host.finishBackground());
    EXPECT_EQ(fakes.memory.touched, blocks({812}));
    EXPECT_EQ(engine.releaseAttempts(), 1);
    EXPECT_FALSE(engine.stepInFlight());
    host.advance(1000);
    EXPECT_EQ(host.backgroundHeld(), 1u) << "the next tick writes the next block";
    host.finishBackground();
    EXPECT_EQ(engine.releaseAttempts(), 2);
    EXPECT_TRUE(log.entries.empty());
}

TEST(BlockJobs, AnErrorOfTheWaitComesBackWithTheResultAndAGoneOwnerHearsNothing) {
    struct FailingJob : BlockJob {
        void wait() override { raiseError(errOutOfMemory); }
        TouchResult touched() override { return TouchResult::Written; }
        std::unique_ptr<HeldBlock> held() override { return nullptr; }
    };
    HeadlessHost host;
    host.holdBackground = true;
    auto alive = std::make_shared<bool>(true);
    int answers = 0;
    runBlockJob(host, std::make_unique<FailingJob>(), alive, [&](BlockJob& job) {
        ++answers;
        EXPECT_EQ(errorOf([&] { job.touched(); }), errOutOfMemory);
    });
    runBlockJob(host, std::make_unique<FailingJob>(), alive, [&](BlockJob&) { ++answers; });
    EXPECT_EQ(answers, 0) << "held until the work ends";
    host.finishBackground();
    EXPECT_EQ(answers, 1);
    alive.reset();
    host.finishBackground();
    EXPECT_EQ(answers, 1) << "its owner went before the end came";
}

TEST_F(ReleaseEngineTest, GoalReachedStopsWithoutAllocating) {
    retry(5);
    amount(100);
    clickRam();
    fakes.memory.current.availPhys = 400 * MB;  // reached exactly
    host.advance(1000);
    EXPECT_FALSE(engine.isReleasing());
    EXPECT_TRUE(fakes.memory.touched.empty());

    fakes.memory.current.availPhys = 300 * MB;
    fakes.memory.freedPerTouch = 60 * MB;
    clickRam();  // goal 400: two blocks free 120 MB, the third tick finds 420
    host.advance(3000);
    EXPECT_EQ(fakes.memory.touched, blocks({400, 400}));
    EXPECT_FALSE(engine.isReleasing());
}

TEST_F(ReleaseEngineTest, ClickWhileAnyCycleRunsOnlyShowsTheMessage) {
    engine.startRelease(500, 30000);  // as the timed release would
    amount(512);
    clickRam();
    ASSERT_EQ(host.messages.size(), 1u);
    EXPECT_EQ(host.messages[0].prompt, "The application is already releasing RAM.Please wait or try later.");
    EXPECT_EQ(host.messages[0].style, vbOKOnly | vbInformation);
    EXPECT_EQ(host.messages[0].title, "Quillmere");
    EXPECT_EQ(engine.releaseTarget(), 500);
    EXPECT_EQ(tmrRam().interval(), 30000);
    engine.cmdRam_Click();  // as the tray menu entry does
    EXPECT_EQ(host.messages.size(), 2u);
    EXPECT_EQ(engine.releaseTarget(), 500);
}

TEST_F(ReleaseEngineTest, RefusedBlockIsNotCountedAndLogsNothing) {
    amount(512);
    fakes.memory.touchResults = {TouchResult::NotEnoughMemory, TouchResult::Written};
    clickRam();
    host.advance(1000);
    EXPECT_TRUE(engine.isReleasing());
    EXPECT_EQ(engine.releaseAttempts(), 0);
    EXPECT_EQ(engine.refusedBlocks(), 1);
    host.advance(1000);
    EXPECT_EQ(engine.releaseAttempts(), 1);
    host.advance(1000);
    EXPECT_FALSE(engine.isReleasing());
    EXPECT_EQ(fakes.memory.touched, blocks({812, 812}));
    EXPECT_TRUE(log.entries.empty());
}

TEST_F(ReleaseEngineTest, CycleWhoseEveryBlockIsRefusedEndsAfterTheBound) {
    retry(20);
    amount(512);
    for (int i = 0; i < 50; ++i) fakes.memory.touchResults.push_back(TouchResult::NotEnoughMemory);
    clickRam();
    host.advance(1000 * (ReleaseEngine::kMaxRefusedBlocks - 1));
    EXPECT_TRUE(engine.isReleasing());
    host.advance(1000);
    EXPECT_FALSE(engine.isReleasing());
    EXPECT_EQ(fakes.memory.touched.size(), static_cast<size_t>(ReleaseEngine::kMaxRefusedBlocks));
    host.advance(10000);
    EXPECT_EQ(fakes.memory.touched.size(), static_cast<size_t>(ReleaseEngine::kMaxRefusedBlocks));

    // A new cycle starts with a fresh count.
    clickRam();
    host.advance(1000);
    EXPECT_EQ(engine.refusedBlocks(), 1);
}

TEST_F(ReleaseEngineTest, RetryLimitIsReadAtEveryStep) {
    retry(5);
    amount(512);
    clickRam();
    host.advance(2000);
    EXPECT_EQ(engine.releaseAttempts(), 2);
    retry(2);
    host.advance(1000);
    EXPECT_FALSE(engine.isReleasing());
    EXPECT_EQ(fakes.memory.touched.size(), 2u);

    control<ComboBox>("cmbRetry").setListIndex(-1);  // no number: limit 0
    clickRam();
    host.advance(1000);
    EXPECT_FALSE(engine.isReleasing());
    EXPECT_EQ(fakes.memory.touched.size(), 2u);
    EXPECT_EQ(engine.retryLimit(), 0);
}

TEST_F(ReleaseEngineTest, NothingSelectedLogsAndAimsAtWhatIsAvailable) {
    control<ListBox>("lstRam").setListIndex(-1);
    clickRam();
    EXPECT_TRUE(log.has("frmMain,cmdRAM_Click", errTypeMismatch));
    EXPECT_EQ(engine.releaseTarget(), 300);
    host.advance(1000);
    EXPECT_FALSE(engine.isReleasing());
    EXPECT_TRUE(fakes.memory.touched.empty());
}

TEST_F(ReleaseEngineTest, MachinesAboveTwoGigabytesUseThirtyTwoBitMegabytes) {
    machine(64 * 1024, 60000);
    amount(2000);
    clickRam();
    EXPECT_EQ(engine.releaseTarget(), 62000);  // beyond 16 bits
    host.advance(1000);
    EXPECT_EQ(fakes.memory.touched, blocks({62000}));
}

TEST_F(ReleaseEngineTest, BlockStopsAtTheMachinesTotal) {
    machine(1024, 900);
    amount(1024);
    clickRam();
    EXPECT_EQ(engine.releaseTarget(), 1924);
    host.advance(1000);
    EXPECT_EQ(fakes.memory.touched, blocks({1024}));
    EXPECT_EQ(engine.releaseAttempts(), 1);
}

TEST_F(ReleaseEngineTest, MegabytesAndEntries) {
    fakes.memory.current.availPhys = 300 * MB + MB / 2;
    EXPECT_EQ(engine.availableMB(), 300);  // halves to even
    fakes.memory.current.availPhys = 301 * MB + MB / 2;
    EXPECT_EQ(engine.availableMB(), 302);
    fakes.memory.current.availPhys = 40000 * MB;
    EXPECT_EQ(engine.availableMB(), 40000);
    EXPECT_EQ(ReleaseEngine::entryMB("512 MB"), 512);
    EXPECT_EQ(ReleaseEngine::entryMB("0 MB"), 0);
    EXPECT_EQ(errorOf([] { ReleaseEngine::entryMB(""); }), errTypeMismatch);
}

TEST_F(ReleaseEngineTest, WaitSpacingFollowsTheStartupWait) {
    control<ComboBox>("cmbStartupWait").setListIndex(29);
    EXPECT_EQ(engine.waitSpacingMs(), 30000);
    control<ComboBox>("cmbStartupWait").setListIndex(249);
    EXPECT_EQ(engine.waitSpacingMs(), 250000);
    // Without a wait a cycle would never tick and block every later release.
    control<ComboBox>("cmbStartupWait").setListIndex(-1);
    EXPECT_EQ(engine.waitSpacingMs(), 1000);
}

}  // namespace
}  // namespace qm::test
