// The Automatic, Time, Startup and Launcher loaders on the real window design.
#include <gtest/gtest.h>

#include "launcher/program_list.h"
#include "support/core_fixture.h"

namespace qm::test {
namespace {

using LoadersTest = SettingsTest;

TEST_F(LoadersTest, FirstStartShowsEveryDefaultAndWritesNothing) {
    load();
    EXPECT_EQ(selected("cmbAutoRelease"), "2 MB");
    EXPECT_EQ(selected("lstAutoAmount"), "2 MB");
    EXPECT_EQ(list("lstAutoInterval").listCount(), 60);
    EXPECT_EQ(selected("lstAutoInterval"), "30");
    EXPECT_EQ(control<CheckBox>("chkAutoCPU").value(), 1);
    EXPECT_EQ(selected("cmbAutoCPU"), "60");
    EXPECT_EQ(control<CheckBox>("chkAutoActive").value(), 1);
    EXPECT_EQ(selected("lstTimeAmount"), "2 MB");
    EXPECT_TRUE(control<OptionButton>("optTimeMinute").value());
    EXPECT_EQ(list("lstTimeInterval").items(),
              (std::vector<std::string>{"5", "10", "15", "20", "25", "30", "35", "40", "45", "50"}));
    EXPECT_EQ(selected("lstTimeInterval"), "30");
    EXPECT_EQ(selected("cmbTimeCPU"), "60");
    EXPECT_EQ(control<CheckBox>("chkTimeCPU").value(), 1);
    EXPECT_EQ(control<CheckBox>("chkTimeActive").value(), 1);
    EXPECT_EQ(option("optDisplay"), 0);
    EXPECT_EQ(control<CheckBox>("chkStartup").value(), 0);
    EXPECT_EQ(control<CheckBox>("chkQuit").value(), 1);
    EXPECT_EQ(control<CheckBox>("chkLowLevel").value(), 0);
    EXPECT_EQ(selected("cmbStartupRam"), "0 MB");
    EXPECT_EQ(list("cmbStartupWait").listCount(), 250);
    EXPECT_EQ(selected("cmbStartupWait"), "1");
    EXPECT_EQ(list("cmbRetry").listCount(), 20);
    EXPECT_EQ(selected("cmbRetry"), "1");
    EXPECT_EQ(frm.element<OptionButton>("optCPU", 2).caption(), "Faster");
    EXPECT_EQ(option("optCPU"), 2);
    EXPECT_EQ(list("cmbLauncher").items(), (std::vector<std::string>{"1", "2", "3", "4", "5"}));
    EXPECT_EQ(selected("cmbLauncher"), "1");
    EXPECT_EQ(option("optLauncher"), 1);
    EXPECT_EQ(list("lstLauncher").listCount(), 0);
    EXPECT_TRUE(log.entries.empty());
    EXPECT_EQ(fakes.profile.writes, 0) << "these pages' handlers write nothing while loading";
    EXPECT_FALSE(control<Timer>("tmrAuto").isEnabled()) << "the start-up sequence starts the timers";
    EXPECT_FALSE(control<Timer>("tmrTime").isEnabled());
    EXPECT_EQ(fakes.registry.hasValue(HKEY_LOCAL_MACHINE_, kRunKey, kRunValueName), false);
}

TEST_F(LoadersTest, StoredValuesAreRestoredWithoutBeingWrittenBack) {
    for (auto [section, key, value] : std::initializer_list<std::array<const char*, 3>>{
             {"Auto", "Minimum", "4"}, {"Auto", "Release", "9"}, {"Auto", "Interval", "0"},
             {"Auto", "CPUCheck", "0"}, {"Auto", "CPUPercent", "9"}, {"Auto", "Active", "0"},
             {"Time", "CPUPercent", "0"}, {"Startup", "Display", "1"}, {"Startup", "LowLevel", "1"},
             {"Startup", "Quit", "0"}, {"Startup", "Release", "3"}, {"Startup", "Wait", "249"},
             {"Startup", "Retry", "19"}, {"Startup", "CPUUpdate", "0"}, {"Launcher", "Retry", "4"},
             {"Launcher", "Freeup", "4"}}) {
        store(section, key, value);
    }
    const std::string before = fileText();
    load();
    EXPECT_EQ(selected("cmbAutoRelease"), "10 MB");
    EXPECT_EQ(selected("lstAutoAmount"), "20 MB");
    EXPECT_EQ(selected("lstAutoInterval"), "5");
    EXPECT_EQ(control<CheckBox>("chkAutoCPU").value(), 0);
    EXPECT_EQ(selected("cmbAutoCPU"), "100");
    EXPECT_EQ(control<CheckBox>("chkAutoActive").value(), 0);
    EXPECT_EQ(selected("cmbTimeCPU"), "10");
    EXPECT_EQ(option("optDisplay"), 1);
    EXPECT_EQ(control<CheckBox>("chkLowLevel").value(), 1);
    EXPECT_EQ(control<CheckBox>("chkQuit").value(), 0);
    EXPECT_EQ(selected("cmbStartupRam"), "6 MB");
    EXPECT_EQ(selected("cmbStartupWait"), "250");
    EXPECT_EQ(selected("cmbRetry"), "20");
    EXPECT_EQ(option("optCPU"), 0);
    EXPECT_EQ(selected("cmbLauncher"), "5");
    EXPECT_EQ(option("optLauncher"), 4);
    EXPECT_EQ(fileText(), before);
    EXPECT_TRUE(log.entries.empty());
}

TEST_F(LoadersTest, IndexesBeyondTheListsAndTextAreSilentWhereTheRuleSaysSo) {
    store("Auto", "Minimum", "128");  // one past the last amount of a 256 MB machine
    store("Auto", "Interval", "abc");
    store("Auto", "CPUPercent", "abc");
    store("Auto", "CPUCheck", "x");
    store("Startup", "Retry", "x");
    store("Startup", "Wait", "");
    store("Startup", "CPUUpdate", "abc");
    load();
    EXPECT_EQ(list("cmbAutoRelease").listIndex(), -1);
    EXPECT_EQ(list("lstAutoInterval").listIndex(), -1);
    EXPECT_EQ(list("cmbAutoCPU").listIndex(), -1);
    EXPECT_EQ(control<CheckBox>("chkAutoCPU").value(), 0);
    EXPECT_EQ(selected("cmbRetry"), "1");
    EXPECT_EQ(selected("cmbStartupWait"), "1");
    EXPECT_EQ(option("optCPU"), -1);
    EXPECT_TRUE(log.entries.empty());
}

TEST_F(LoadersTest, RefusedValuesAreLoggedUnderTheLoaderAndLoadingGoesOn) {
    store("Auto", "Interval", "60");
    store("Time", "IntervalAmount", "abc");
    store("Time", "CPUPercent", "10");
    store("Startup", "Retry", "25");
    store("Startup", "AutoLaunch", "3");
    store("Launcher", "Retry", "x");
    store("Launcher", "Freeup", "abc");
    load();
    EXPECT_TRUE(logged(",loadAuto", 380));
    EXPECT_EQ(list("lstAutoInterval").listIndex(), -1);
    EXPECT_EQ(control<CheckBox>("chkAutoActive").value(), 1) << "the steps after a refusal still run";
    EXPECT_TRUE(logged(",loadTime", 13));
    EXPECT_TRUE(logged(",loadTime", 380));
    EXPECT_EQ(list("lstTimeInterval").listIndex(), -1);
    EXPECT_EQ(control<CheckBox>("chkTimeActive").value(), 1);
    EXPECT_TRUE(logged(",loadStartup", 380));
    EXPECT_EQ(list("cmbRetry").listIndex(), -1);
    EXPECT_EQ(control<CheckBox>("chkStartup").value(), 0);
    EXPECT_EQ(option("optCPU"), 2);
    EXPECT_TRUE(logged(",loadLauncher", 13));
    EXPECT_EQ(list("cmbLauncher").listIndex(), -1);
    EXPECT_EQ(option("optLauncher"), -1);
    EXPECT_EQ(log.entries.size(), 7u);
}

TEST_F(LoadersTest, DisplayAtStartupMapsAnyOtherNumberToHidden) {
    store("Startup", "Display", "7");
    load();
    EXPECT_EQ(option("optDisplay"), 2);
    EXPECT_EQ(frm.element<OptionButton>("optDisplay", 2).caption(), "Hidden");
}

TEST_F(LoadersTest, DisplayAtStartupThatIsNoNumberIsLoggedAndFullyDisplayed) {
    store("Startup", "Display", "abc");
    load();
    EXPECT_TRUE(logged(",loadStartup", 13));
    EXPECT_EQ(option("optDisplay"), 0);
    EXPECT_EQ(log.entries.size(), 1u);
}

struct UnitCase {
    const char* stored;
    bool minutes;
    const char* selectedEntry;  // with the default IntervalAmount 5
};

class TimeUnitTest : public SettingsTest, public ::testing::WithParamInterface<UnitCase> {};

TEST_P(TimeUnitTest, TheStoredUnitFillsTheIntervalListBeforeTheAmountIsApplied) {
    store("Time", "Interval", GetParam().stored);
    load();
    EXPECT_EQ(control<OptionButton>("optTimeMinute").value(), GetParam().minutes);
    EXPECT_EQ(control<OptionButton>("optTimeHour").value(), !GetParam().minutes);
    EXPECT_EQ(list("lstTimeInterval").listCount(), GetParam().minutes ? 10 : 24);
    EXPECT_EQ(selected("lstTimeInterval"), GetParam().selectedEntry);
    EXPECT_EQ(stored("Time", "Interval"), GetParam().stored) << "loading does not rewrite the unit";
    EXPECT_EQ(stored("Time", "IntervalAmount"), "<none>");
    EXPECT_TRUE(log.entries.empty());
}

INSTANTIATE_TEST_SUITE_P(Units, TimeUnitTest,
                         ::testing::Values(UnitCase{"Hour", false, "6"}, UnitCase{"", false, "6"},
                                           UnitCase{"xMinutesx", true, "30"}, UnitCase{"minutes", false, "6"},
                                           UnitCase{"Minutes", true, "30"}));

TEST_F(LoadersTest, ProgramListLinesEndAtCarriageReturns) {
    fakes.files.files[ctx.programFile("Launcher.mbl")] = "Notepad" + std::string(52, ' ') +
                                                        "|C:\\Windows\\notepad.exe\r\n\r\nno bar\rlast\r\n";
    load();
    EXPECT_EQ(list("lstLauncher").items(),
              (std::vector<std::string>{"Notepad" + std::string(52, ' ') + "|C:\\Windows\\notepad.exe", "", "no bar",
                                        "last"}));
}

TEST_F(LoadersTest, ProgramListWithLineFeedsOnlyIsOneEntry) {
    fakes.files.files[ctx.programFile("Launcher.mbl")] = "a|x\nb|y\n";
    load();
    EXPECT_EQ(list("lstLauncher").items(), (std::vector<std::string>{"a|x\nb|y\n"}));
}

TEST_F(LoadersTest, AnEmptyOrUnreadableProgramListLeavesTheListEmpty) {
    const std::string mbl = ctx.programFile("Launcher.mbl");
    fakes.files.files[mbl] = "";
    load();
    EXPECT_EQ(list("lstLauncher").listCount(), 0);
    EXPECT_EQ(fakes.files.reads, 0) << "a file of length 0 is not read";
    EXPECT_TRUE(log.entries.empty());
}

TEST_F(LoadersTest, AnUnreadableProgramListIsLogged) {
    const std::string mbl = ctx.programFile("Launcher.mbl");
    fakes.files.files[mbl] = "a|x\r\n";
    fakes.files.unreadable.insert(mbl);
    load();
    EXPECT_EQ(list("lstLauncher").listCount(), 0);
    EXPECT_TRUE(logged(",loadLauncher", 75));
    EXPECT_EQ(option("optLauncher"), 1) << "the settings before it were applied";
}

// A file up to the byte bound is read whole; a larger one is not read at all.
TEST_F(LoadersTest, AProgramListPastItsBoundIsLoggedAndKept) {
    const std::string mbl = ctx.programFile("Launcher.mbl");
    const std::string atBound = "a|x\r\n" + std::string(kMaxProgramListBytes - 5, 'b');
    fakes.files.files[mbl] = atBound + "b";
    load();
    EXPECT_EQ(list("lstLauncher").listCount(), 0);
    EXPECT_TRUE(logged(",loadLauncher", errOutOfMemory));
    EXPECT_EQ(fakes.files.files[mbl], atBound + "b");

    fakes.files.files[mbl] = atBound;
    load();
    EXPECT_EQ(list("lstLauncher").items(), (std::vector<std::string>{"a|x", std::string(kMaxProgramListBytes - 5, 'b')}));
}

TEST(LauncherLines, SplitAtCarriageReturnWithItsLineFeed) {
    EXPECT_TRUE(splitLauncherLines("").empty());
    EXPECT_EQ(splitLauncherLines("\r\n"), (std::vector<std::string>{""}));
    EXPECT_EQ(splitLauncherLines("a\r\n\r\nb"), (std::vector<std::string>{"a", "", "b"}));
    EXPECT_EQ(splitLauncherLines("a\r\r\nb\r"), (std::vector<std::string>{"a", "", "b"}));
    EXPECT_EQ(splitLauncherLines("a\n\rb"), (std::vector<std::string>{"a\n", "b"}));
}

}  // namespace
}  // namespace qm::test
