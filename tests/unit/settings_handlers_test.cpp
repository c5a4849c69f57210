// The option handlers of the Automatic, Time, Startup/Other and Launcher pages, and the
// start-up as a whole as far as the settings file sees it.
#include <gtest/gtest.h>

#include <functional>

#include "memory/amount_lists.h"
#include "monitor/graphs.h"
#include "support/core_fixture.h"

namespace qm::test {
namespace {

struct HandlerCase {
    const char* name;
    std::function<void(Form&)> userAction;
    const char* section;
    const char* key;
    const char* expected;
};

void pick(Form& frm, const char* list, int index) { frm.get<ListControl>(list).userSelect(index); }
void tick(Form& frm, const char* box) { frm.get<CheckBox>(box).userClick(); }
void choose(Form& frm, const char* group, int index) { frm.element<OptionButton>(group, index).userClick(); }

class HandlerTest : public SettingsTest, public ::testing::WithParamInterface<HandlerCase> {};

TEST_P(HandlerTest, AUserChangeWritesItsKeyAtOnce) {
    load();
    const HandlerCase& c = GetParam();
    c.userAction(frm);
    EXPECT_EQ(stored(c.section, c.key), c.expected);
    EXPECT_EQ(fakes.profile.writes, 1) << "one key, nothing else";
    EXPECT_TRUE(log.entries.empty());
}

INSTANTIATE_TEST_SUITE_P(
    Pages, HandlerTest,
    ::testing::Values(
        HandlerCase{"cmbAutoRelease", [](Form& f) { pick(f, "cmbAutoRelease", 4); }, "Auto", "Minimum", "4"},
        HandlerCase{"lstAutoAmount", [](Form& f) { pick(f, "lstAutoAmount", 3); }, "Auto", "Release", "3"},
        HandlerCase{"lstAutoInterval", [](Form& f) { pick(f, "lstAutoInterval", 0); }, "Auto", "Interval", "0"},
        HandlerCase{"chkAutoCPU", [](Form& f) { tick(f, "chkAutoCPU"); }, "Auto", "CPUCheck", "0"},
        HandlerCase{"cmbAutoCPU", [](Form& f) { pick(f, "cmbAutoCPU", 9); }, "Auto", "CPUPercent", "9"},
        HandlerCase{"lstTimeInterval", [](Form& f) { pick(f, "lstTimeInterval", 2); }, "Time", "IntervalAmount",
                    "2"},
        HandlerCase{"chkTimeCPU", [](Form& f) { tick(f, "chkTimeCPU"); }, "Time", "CPUCheck", "0"},
        HandlerCase{"cmbTimeCPU", [](Form& f) { pick(f, "cmbTimeCPU", 1); }, "Time", "CPUPercent", "1"},
        HandlerCase{"optDisplay", [](Form& f) { choose(f, "optDisplay", 2); }, "Startup", "Display", "2"},
        HandlerCase{"cmbStartupRam", [](Form& f) { pick(f, "cmbStartupRam", 3); }, "Startup", "Release", "3"},
        HandlerCase{"cmbStartupWait", [](Form& f) { pick(f, "cmbStartupWait", 10); }, "Startup", "Wait", "10"},
        HandlerCase{"cmbRetry", [](Form& f) { pick(f, "cmbRetry", 19); }, "Startup", "Retry", "19"},
        HandlerCase{"chkLowLevel", [](Form& f) { tick(f, "chkLowLevel"); }, "Startup", "LowLevel", "1"},
        HandlerCase{"chkQuit", [](Form& f) { tick(f, "chkQuit"); }, "Startup", "Quit", "0"},
        HandlerCase{"cmbLauncher", [](Form& f) { pick(f, "cmbLauncher", 4); }, "Launcher", "Retry", "4"},
        HandlerCase{"optLauncher", [](Form& f) { choose(f, "optLauncher", 4); }, "Launcher", "Freeup", "4"},
        HandlerCase{"cmbAutoReleaseNone", [](Form& f) { pick(f, "cmbAutoRelease", -1); }, "Auto", "Minimum",
                    "-1"}),
    [](const auto& info) { return std::string(info.param.name); });

struct FeatureCase {
    const char* box;
    const char* timer;
    const char* section;
    bool automatic;  // the automatic release, else the timed one
};

class ActiveBoxTest : public SettingsTest, public ::testing::WithParamInterface<FeatureCase> {
protected:
    DateTime intervalStart() const {
        return GetParam().automatic ? autoRelease.intervalStart() : timedRelease.intervalStart();
    }
};

TEST_P(ActiveBoxTest, SwitchingTheFeatureStoresItAndRunsOrStopsItsTimer) {
    const FeatureCase& c = GetParam();
    load();
    Timer& timer = control<Timer>(c.timer);
    timer.setEnabled(true);  // as the start-up sequence leaves it
    tick(frm, c.box);
    EXPECT_EQ(stored(c.section, "Active"), "0");
    EXPECT_FALSE(timer.isEnabled());
    host.advance(90'000);
    const DateTime before = intervalStart();
    tick(frm, c.box);
    EXPECT_EQ(stored(c.section, "Active"), "1");
    EXPECT_TRUE(timer.isEnabled());
    EXPECT_EQ(intervalStart(), host.now());
    EXPECT_NE(intervalStart(), before);
}

INSTANTIATE_TEST_SUITE_P(Features, ActiveBoxTest,
                         ::testing::Values(FeatureCase{"chkAutoActive", "tmrAuto", "Auto", true},
                                           FeatureCase{"chkTimeActive", "tmrTime", "Time", false}));

TEST_F(SettingsTest, ChoosingAUnitRefillsTheIntervalsAndSelectsTheDefaultEntry) {
    load();
    control<OptionButton>("optTimeHour").userClick();
    EXPECT_EQ(list("lstTimeInterval").listCount(), 24);
    EXPECT_EQ(selected("lstTimeInterval"), "6");
    EXPECT_EQ(stored("Time", "Interval"), "Hour");
    EXPECT_EQ(stored("Time", "IntervalAmount"), "5");
    pick(frm, "lstTimeInterval", 23);
    control<OptionButton>("optTimeMinute").userClick();
    EXPECT_EQ(list("lstTimeInterval").listCount(), 10);
    EXPECT_EQ(selected("lstTimeInterval"), "30");
    EXPECT_EQ(stored("Time", "Interval"), "Minutes");
    EXPECT_EQ(stored("Time", "IntervalAmount"), "5");
    EXPECT_FALSE(control<OptionButton>("optTimeHour").value());
    EXPECT_TRUE(log.entries.empty());
}

// The file is kept as it is (a read-only one, say); the change holds for this run and the
// failure reaches the error log under the handler's label.
TEST_F(SettingsTest, AWriteThatFailsIsReportedButNotUndone) {
    load();
    fakes.files.unwritable.insert(path());
    pick(frm, "cmbRetry", 4);
    EXPECT_EQ(selected("cmbRetry"), "5");
    EXPECT_EQ(stored("Startup", "Retry"), "<none>");
    EXPECT_TRUE(logged(",cmbRetry_Click", errPathFileAccess));
    EXPECT_EQ(log.entries.size(), 1u);
}

// The loaders of the amount lists and the graphs run in the same start-up; together with
// them the first start leaves exactly three keys, written by the handlers that run while
// loading.
class WholeLoadingTest : public SettingsTest {
protected:
    CpuSamplerSlot sampler;
    AmountLists amounts{ctx, settings};
    Graphs graphs{ctx, settings, sampler};

    void startUp() {
        whileLoading([&] {
            amounts.initMemory();
            graphs.initGraph();
            graphs.loadGraph();
            amounts.loadRAM();
            loadPages();
        });
    }
};

TEST_F(WholeLoadingTest, FirstStartLeavesExactlyThreeKeysInThisOrder) {
    startUp();
    EXPECT_EQ(fileText(), "[Memory]\r\nGraphInterval=1.5\r\n[Time]\r\nRelease=0\r\n[Startup]\r\nCPUUpdate=2\r\n");
    EXPECT_TRUE(log.entries.empty());
}

TEST_F(WholeLoadingTest, AStoredGraphIntervalThatIsNoEntryIsRewrittenAs1_5) {
    store("Memory", "GraphInterval", "90");
    startUp();
    EXPECT_EQ(stored("Memory", "GraphInterval"), "1.5");
    EXPECT_EQ(control<ComboBox>("cmbUpdateGraph").text(), "1.5 Seconds");
}

}  // namespace
}  // namespace qm::test
