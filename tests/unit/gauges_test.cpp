// The memory gauges, titles and tooltips, and the memory timer's pace and sampling.
#include "monitor/gauges.h"

#include "base/convert.h"
#include "support/core_fixture.h"

namespace qm::test {
namespace {

constexpr Color kBarBack = rgb(224, 224, 224);

// The expected bar: a segment line every 4 pixels (60 twips) at x = 4..232, on rows 1..16
// (the line runs from y = 255 twips up to, not including, y = 0); light blue while the
// line's twip position is below the fill limit.
Canvas expectedBar(int fillTwips) {
    Canvas bar(233, 17, kBarBack);
    for (int k = 1; k <= 58; ++k) {
        const Color c = 60 * k < fillTwips ? kGaugeFreeColor : kGaugeUsedColor;
        for (int y = 1; y <= 16; ++y) bar.setPixel(4 * k, y, c);
    }
    return bar;
}

TEST_F(MonitorTest, BarsShowTheirPercentagesLineByLine) {
    gauges.drawProgressBar(50, 0);
    EXPECT_EQ(pic("picPProgress").image(), expectedBar(1750));  // 29 light lines, 60..1740
    EXPECT_EQ(pic("picVProgress").image(), expectedBar(0));     // every line dark
    gauges.drawProgressBar(100, 50);
    EXPECT_EQ(pic("picPProgress").image(), expectedBar(3500));  // not cleared: lines repainted
    EXPECT_EQ(pic("picVProgress").image(), expectedBar(1750));
    // The 59th line (x = 3540) lies beyond the 3500-twip width: drawn dark and clipped.
    EXPECT_EQ(pic("picPProgress").foreColor(), kGaugeUsedColor);
    EXPECT_TRUE(log.entries.empty());
}

TEST_F(MonitorTest, StartTitleIsWholeAndTheRefreshTitleFine) {
    fakes.cpu.readings = {CpuCounters{1, 0, 0}, CpuCounters{1, 10051, 0}};  // the sampler says -1
    sampler = std::make_unique<clsCPUUsage>(world.platform, log);
    setAvailable(511.87, 1500);
    gauges.initProgressBar();
    EXPECT_EQ(frm.caption(), "Quillmere v1.0 512 MB");
    EXPECT_EQ(caption("lblCPU"), "-1%");  // unclamped at start
    EXPECT_EQ(caption("lblPPercent"), "51% Available");
    EXPECT_EQ(caption("lblVPercent"), "75% Available");
    EXPECT_EQ(pic("picPProgress").image(), expectedBar(1785));
    EXPECT_TRUE(tips.empty());
    EXPECT_EQ(pic("picPhysical").toolTip(), "");
    EXPECT_EQ(graphs.physHistory()[364], -1);

    frm.get<ComboBox>("cmbUpdateGraph").setListIndex(0);
    gauges.tmrMemory_Timer();
    EXPECT_EQ(frm.caption(), "Quillmere v1.0 - 511.87 MB");
    EXPECT_EQ(tips, std::vector<std::string>{"Quillmere v1.0 - 511.87 MB"});
    EXPECT_EQ(pic("picPhysical").toolTip(), "Last Value = 511.87 MB");
    EXPECT_EQ(pic("picVirtual").toolTip(), "Last Value = 1500 MB");
    EXPECT_EQ(gauges.lastPhysPercent(), 51);
    EXPECT_EQ(gauges.lastPagePercent(), 75);
    EXPECT_EQ(graphs.physHistory()[364], 35);  // 51 x 0.69 = 35.19
    EXPECT_TRUE(log.entries.empty());
}

TEST_F(MonitorTest, TitlesFollowTheUserNumberFormat) {
    setUserDecimalSeparator(',');
    setAvailable(511.87, 1500);
    gauges.tmrMemory_Timer();
    setUserDecimalSeparator('.');
    EXPECT_EQ(frm.caption(), "Quillmere v1.0 - 511,87 MB");
}

TEST_F(MonitorTest, OneTickUsesOneSampleForEveryFigure) {
    fakes.memory.upcoming = {MemoryStatus{0, 250 * MB, 0, 1000 * MB}, MemoryStatus{0, 900 * MB, 0, 100 * MB}};
    gauges.tmrMemory_Timer();
    EXPECT_EQ(fakes.memory.statusCalls, 1);
    EXPECT_EQ(frm.caption(), "Quillmere v1.0 - 250 MB");
    EXPECT_EQ(caption("lblPPercent"), "25% Available");
    EXPECT_EQ(caption("lblVPercent"), "50% Available");
    EXPECT_EQ(graphs.pageHistory()[364], 34);  // 50 % -> 34.5 -> 34
}

TEST_F(MonitorTest, LargeMachinesKeepTheirMegabytes) {
    totals.physMB = 65537;  // a 64 GB machine: beyond a 16-bit megabyte count
    setAvailable(40000.25, 1000);
    gauges.tmrMemory_Timer();
    EXPECT_EQ(frm.caption(), "Quillmere v1.0 - 40000.25 MB");
    EXPECT_EQ(caption("lblPPercent"), "61% Available");
    EXPECT_TRUE(log.entries.empty());
}

TEST_F(MonitorTest, MissingTotalsAreLoggedAndTheTickGoesOn) {
    totals.physMB = 0;
    setAvailable(300, 1000);
    gauges.tmrMemory_Timer();
    EXPECT_TRUE(log.has("frmMain,tmrMemory_Timer", errDivisionByZero));
    EXPECT_EQ(caption("lblPPercent"), "0% Available");  // the failed value stays at its start
    EXPECT_EQ(caption("lblVPercent"), "50% Available");
}

TEST_F(MonitorTest, IntervalGatePacesTheRefreshes) {
    // Refreshes over some seconds of ticks, counted by the samples they took.
    auto refreshesOver = [&](int seconds) {
        const int before = fakes.memory.statusCalls;
        host.advance(seconds * 1000);
        return fakes.memory.statusCalls - before;
    };
    host.attach(frm);
    graphs.loadGraph();                                   // the interval runs from now
    frm.get<ComboBox>("cmbUpdateGraph").setListIndex(1);  // "3 Seconds"
    frm.get<Timer>("tmrMemory").setEnabled(true);
    EXPECT_EQ(refreshesOver(3), 0);
    EXPECT_EQ(refreshesOver(1), 1);  // more than 3 whole seconds
    EXPECT_EQ(refreshesOver(8), 2);  // every fourth tick
    EXPECT_EQ(graphs.lastGraphTime(), host.now());
    frm.get<ComboBox>("cmbUpdateGraph").setListIndex(0);  // "1.5 Seconds": every tick
    EXPECT_EQ(refreshesOver(5), 5);
}

TEST_F(MonitorTest, IntervalGateRunsOnTicksWhenClocksGoBackOrTheTickWraps) {
    auto refreshesOver = [&](int seconds) {
        const int before = fakes.memory.statusCalls;
        host.advance(seconds * 1000);
        return fakes.memory.statusCalls - before;
    };
    host.setStartTick(0xFFFFFFFFu - 5000);  // the tick count wraps during the test
    host.attach(frm);
    graphs.loadGraph();
    frm.get<ComboBox>("cmbUpdateGraph").setListIndex(1);  // "3 Seconds"
    frm.get<Timer>("tmrMemory").setEnabled(true);
    EXPECT_EQ(refreshesOver(4), 1);
    host.shiftWallClock(-3600 * 1000);  // daylight saving ends: an hour back
    EXPECT_EQ(refreshesOver(8), 2);     // the gauges go on every fourth tick
    EXPECT_EQ(graphs.lastGraphTime(), host.now());  // the time kept is still the local time
    host.shiftWallClock(2 * 3600 * 1000);  // and forward: no burst, the same pace
    EXPECT_EQ(refreshesOver(8), 2);
}

TEST_F(MonitorTest, RepaintsRedrawFromTheLastValues) {
    // The last values: 50 % and 100 % from a memory tick, 100 % from a CPU tick.
    const int64_t s = 10'000'000;
    fakes.cpu.readings = {CpuCounters{1, 5 * s, 0}, CpuCounters{1, 4 * s, s}};
    sampler = std::make_unique<clsCPUUsage>(world.platform, log);
    graphs.tmrCPU_Timer();
    frm.get<ComboBox>("cmbUpdateGraph").setListIndex(0);
    setAvailable(500, 2000);
    gauges.tmrMemory_Timer();
    pic("picPProgress").cls();
    pic("picVProgress").cls();
    pic("picCPU").cls();
    pic("picVProgress").raisePaint();
    EXPECT_EQ(pic("picPProgress").image(), expectedBar(1750));
    EXPECT_EQ(pic("picVProgress").image(), expectedBar(3500));
    const Canvas before = pic("picCPU").image();
    pic("picCPU").raisePaint();
    EXPECT_NE(pic("picCPU").image(), before);
    EXPECT_EQ(pic("picCPU").image().pixel(20, 15), kLitBarColor);  // all 17 rows lit
}

}  // namespace
}  // namespace qm::test
