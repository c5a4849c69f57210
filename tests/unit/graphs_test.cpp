// The background bitmaps, the graph interval setting, the histories and the CPU meter.
#include "monitor/graphs.h"

#include "base/convert.h"
#include "support/core_fixture.h"

namespace qm::test {
namespace {

constexpr Color kBlack = rgb(0, 0, 0);

// The memory graph grid, pixel by pixel: columns 20..340 and rows 10..60 over black.
Canvas expectedGraphGrid() {
    Canvas grid(365, 69, kBlack);
    for (int x = 20; x <= 340; x += 20)
        for (int y = 0; y < 69; ++y) grid.setPixel(x, y, kGridColor);
    return withRows(grid, {10, 20, 30, 40, 50, 60}, 0, 364, kGridColor);
}

// The meter with its lowest `lit` rows lit: rows y = 15..95 every 5, bars at x 11..60 and 66..115
// (each line drawn from its right end, which is excluded at the left).
Canvas expectedMeter(int lit) {
    Canvas meter(129, 113, kBlack);
    for (int y = 15; y <= 95; y += 5) {
        const Color c = y > 95 - 5 * lit ? kLitBarColor : kGridColor;
        meter = withRows(withRows(meter, {y}, 11, 60, c), {y}, 66, 115, c);
    }
    return meter;
}

TEST_F(MonitorTest, FirstStartDrawsAndSavesBothBackgrounds) {
    graphs.initGraph();
    const std::string graphFile = "C:\\Apps\\Quillmere\\graphback.bmp";
    ASSERT_TRUE(fakes.files.fileExists(graphFile));
    EXPECT_EQ(pictureFromFileBytes(fakes.files.files[graphFile]), expectedGraphGrid());
    EXPECT_EQ(pictureFromFileBytes(fakes.files.files["C:\\Apps\\Quillmere\\cpuback.bmp"]), expectedMeter(0));
    EXPECT_EQ(pic("picPhysical").image(), expectedGraphGrid());
    EXPECT_EQ(*pic("picVirtual").picture(), expectedGraphGrid());
    EXPECT_EQ(pic("picCPU").image(), expectedMeter(0));
    EXPECT_FALSE(pic("picPhysical").autoRedraw());
    EXPECT_TRUE(log.entries.empty());
}

TEST_F(MonitorTest, LaterStartsReuseTheSavedBitmaps) {
    Canvas own(365, 69, rgb(10, 20, 30));
    own.setPixel(364, 68, rgb(255, 0, 0));
    fakes.files.files["C:\\Apps\\Quillmere\\graphback.bmp"] = pictureFileBytes(own);
    fakes.files.files["C:\\Apps\\Quillmere\\cpuback.bmp"] = pictureFileBytes(expectedMeter(3));
    graphs.initGraph();
    EXPECT_EQ(fakes.files.writes, 0);
    EXPECT_EQ(pic("picVirtual").image(), own);  // read back as it was written
    EXPECT_EQ(pic("picCPU").image(), expectedMeter(3));
}

// A bitmap cut short (or any file that does not read as one) is made again, so the
// graphs never go without their grid.
TEST_F(MonitorTest, ABackgroundThatIsNoBitmapIsMadeAgain) {
    const std::string graphFile = "C:\\Apps\\Quillmere\\graphback.bmp";
    const std::string cpuFile = "C:\\Apps\\Quillmere\\cpuback.bmp";
    const std::string whole = pictureFileBytes(expectedGraphGrid());
    fakes.files.files[graphFile] = whole.substr(0, whole.size() / 2);
    fakes.files.files[cpuFile] = "";
    graphs.initGraph();
    EXPECT_EQ(fakes.files.files[graphFile], whole);
    EXPECT_EQ(pictureFromFileBytes(fakes.files.files[cpuFile]), expectedMeter(0));
    EXPECT_EQ(*pic("picVirtual").picture(), expectedGraphGrid());
    EXPECT_EQ(pic("picCPU").image(), expectedMeter(0));
    EXPECT_TRUE(log.entries.empty());
}

TEST_F(MonitorTest, UnsavableBitmapIsLoggedAndTheMeterStillMade) {
    fakes.files.unwritable.insert("C:\\Apps\\Quillmere\\graphback.bmp");
    graphs.initGraph();
    EXPECT_TRUE(log.has("frmMain,initGraph", errPathFileAccess));
    EXPECT_TRUE(log.has("frmMain,initGraph", errFileNotFound));
    EXPECT_EQ(*pic("picPhysical").picture(), expectedGraphGrid());  // kept from the drawing
    EXPECT_EQ(pic("picCPU").image(), expectedMeter(0));
}

TEST_F(MonitorTest, StoredIntervalSelectsItsEntry) {
    struct Case {
        std::string stored;
        int entry;
        double seconds;
        std::string rewritten;
    };
    for (const Case& c : {Case{"<missing>", 0, 1.5, "1.5"}, Case{"3", 1, 3, "3"}, Case{"120", 5, 120, "120"},
                          Case{"600", 7, 600, "600"}, Case{"45", 0, 1.5, "1.5"}, Case{"90", 0, 1.5, "1.5"},
                          Case{"1,5", 0, 1.5, "1.5"}}) {
        fakes.files.files.clear();
        frm.get<ComboBox>("cmbUpdateGraph").setListIndex(-1);
        if (c.stored != "<missing>") fakes.profile.writeString("Memory", "GraphInterval", c.stored, ctx.programFile("settings.ini"));
        host.advance(2500);
        graphs.loadGraph();
        EXPECT_EQ(frm.get<ComboBox>("cmbUpdateGraph").listIndex(), c.entry) << c.stored;
        EXPECT_EQ(graphs.graphInterval(), c.seconds) << c.stored;
        EXPECT_EQ(stored("Memory", "GraphInterval"), c.rewritten) << c.stored;
        EXPECT_EQ(graphs.lastGraphTime(), host.now());
    }
}

TEST_F(MonitorTest, IntervalIsWrittenWithAPointInAnyLocale) {
    setUserDecimalSeparator(',');
    graphs.loadGraph();
    frm.get<ComboBox>("cmbUpdateGraph").userSelect(4);  // "1 Minute"
    const double minute = graphs.graphInterval();
    frm.get<ComboBox>("cmbUpdateGraph").userSelect(0);
    setUserDecimalSeparator('.');
    EXPECT_EQ(minute, 60);
    EXPECT_EQ(graphs.graphInterval(), 1.5);
    EXPECT_EQ(stored("Memory", "GraphInterval"), "1.5");
}

TEST_F(MonitorTest, FreshHistoryDrawsFromTheSecondRefreshOn) {
    graphs.initGraph();
    frm.get<ComboBox>("cmbUpdateGraph").setListIndex(0);
    setAvailable(500, 2000);  // 50 % and 100 %
    gauges.tmrMemory_Timer();
    EXPECT_EQ(graphs.physHistory()[364], 34);
    EXPECT_EQ(graphs.pageHistory()[364], 69);
    EXPECT_EQ(graphs.physHistory()[363], -1);
    EXPECT_EQ(pic("picPhysical").image(), expectedGraphGrid());  // one sample: nothing drawn
    gauges.tmrMemory_Timer();
    Canvas phys = expectedGraphGrid(), page = expectedGraphGrid();
    phys.setPixel(363, 69 - 34, rgb(0, 255, 0));  // one segment 363 -> 364, its end excluded
    page.setPixel(363, 0, rgb(128, 255, 128));    // 100 % is the top row
    EXPECT_EQ(pic("picPhysical").image(), phys);
    EXPECT_EQ(pic("picVirtual").image(), page);
}

TEST_F(MonitorTest, ShiftMovesBothHistoriesTowardTheStart) {
    for (int i = 0; i < 365; ++i) graphs.addSample(static_cast<int16_t>(i % 101), 10);
    graphs.addSample(0, 100);
    const History phys = graphs.physHistory();
    graphs.shiftHistory();
    EXPECT_EQ(graphs.physHistory()[0], phys[1]);
    EXPECT_EQ(graphs.physHistory()[363], phys[364]);
    EXPECT_EQ(graphs.physHistory()[364], phys[364]);  // the caller stores the new sample here
    EXPECT_EQ(graphs.pageHistory()[363], 69);
    EXPECT_EQ(graphs.pageHistory()[362], 7);  // 10 % of the graph height
}

TEST_F(MonitorTest, MeterLightsRowsFromTheBottom) {
    graphs.initGraph();
    for (auto [cpu, rows] : {std::pair{0, 0}, {2, 0}, {3, 1}, {50, 8}, {100, 17}}) {
        graphs.drawCPUGraph(cpu);
        EXPECT_EQ(pic("picCPU").image(), expectedMeter(rows)) << cpu;
    }
    graphs.drawCPUGraph(1000000);  // too many rows for a 16-bit count: logged, meter left unlit
    EXPECT_EQ(pic("picCPU").image(), expectedMeter(0));
    EXPECT_TRUE(log.has("frmMain,drawCPUGraph", errOverflow));
}

TEST_F(MonitorTest, CpuTimerClampsShowsAndKeepsTheLoad) {
    const int64_t s = 10'000'000;
    fakes.cpu.readings = {CpuCounters{1, 5 * s, 0}, CpuCounters{1, 4 * s, s}, CpuCounters{1, 4 * s, s}};
    sampler = std::make_unique<clsCPUUsage>(world.platform, log);
    graphs.tmrCPU_Timer();  // idle went back: 200 %, shown as 100 %
    EXPECT_EQ(caption("lblCPU"), "100%");
    EXPECT_EQ(graphs.lastCPU(), 100);
    EXPECT_EQ(pic("picCPU").image(), expectedMeter(17));
    graphs.tmrCPU_Timer();  // no time passed, no idle: 100
    fakes.cpu.readings = {CpuCounters{1, 5 * s, s}};
    graphs.tmrCPU_Timer();  // 1000 ms idle in no time: far below 0, shown as 0 %
    EXPECT_EQ(caption("lblCPU"), "0%");
    EXPECT_EQ(graphs.lastCPU(), 0);
    sampler.reset();
    graphs.tmrCPU_Timer();
    EXPECT_TRUE(log.has("frmMain,tmrCPU_Timer", errObjectNotSet));
}

TEST_F(MonitorTest, IntervalAndCpuSpeedAreWrittenWhileLoading) {
    settings.setLoading(true);
    graphs.loadGraph();
    frm.element<OptionButton>("optCPU", 2).setValue(true);
    EXPECT_EQ(stored("Memory", "GraphInterval"), "1.5");
    EXPECT_EQ(stored("Startup", "CPUUpdate"), "2");
}

TEST_F(MonitorTest, CpuSpeedSetsTheTimerAndIsStored) {
    Timer& tmrCPU = frm.get<Timer>("tmrCPU");
    for (auto [index, interval] : {std::pair{0, 5000}, {1, 2000}, {2, 1000}}) {
        frm.element<OptionButton>("optCPU", index).userClick();
        EXPECT_EQ(tmrCPU.interval(), interval);
        EXPECT_EQ(stored("Startup", "CPUUpdate"), std::to_string(index));
    }
}

}  // namespace
}  // namespace qm::test
