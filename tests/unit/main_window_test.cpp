#include <gtest/gtest.h>

#include <algorithm>
#include <string>
#include <utility>
#include <vector>

#include "app/main_layout.h"
#include "app/main_window.h"
#include "support/test_app.h"

namespace qm {
namespace {

using test::TestApp;

constexpr Color kBlue = rgb(0, 0, 255);
constexpr Color kWhite = rgb(255, 255, 255);

// Records property changes of chosen controls, and the moment the icon is added, in the
// order they happen.
struct ChangeRecorder {
    ChangeRecorder(TestApp& app, std::initializer_list<const char*> names) : app(app) {
        for (const char* name : names) {
            Control& c = std::string(name) == "frmMain" ? app.frm() : app.get<Control>(name);
            c.subscribe([this, name](Control&, Prop what) { record(std::string(name) + ":" + propName(what)); });
        }
    }
    static std::string propName(Prop p) {
        constexpr std::pair<Prop, const char*> kNames[] = {{Prop::Enabled, "Enabled"}, {Prop::Caption, "Caption"},
                                                           {Prop::Items, "Items"},     {Prop::Visible, "Visible"},
                                                           {Prop::ZOrder, "ZOrder"}};
        for (const auto& [prop, name] : kNames) {
            if (prop == p) return name;
        }
        return "other";
    }
    void record(const std::string& event) {
        if (app.host.trayCalls.size() > traySeen) {
            traySeen = app.host.trayCalls.size();
            events.push_back("icon");
        }
        if (events.empty() || events.back() != event) events.push_back(event);
    }
    // Position of the first occurrence; the size when missing.
    size_t at(const std::string& event) const {
        return std::find(events.begin(), events.end(), event) - events.begin();
    }
    TestApp& app;
    size_t traySeen = 0;
    std::vector<std::string> events;
};

TEST(FormLoad, RunsItsStepsInOrder) {
    TestApp app;
    app.presetDisplay(0);
    app.parts().graphs.addSample(10, 10);
    app.window->lblLauncherN_Click();
    ChangeRecorder rec(app, {"tmrCPU", "tmrMemory", "lblPM", "lstRam", "mnuRelease", "frmMain", "fmRAM", "TS"});
    app.load();

    const std::vector<std::string> order = {"tmrCPU:Enabled", "tmrMemory:Enabled", "lblPM:Caption", "lstRam:Items",
                                            "mnuRelease:Caption", "icon", "frmMain:Visible", "fmRAM:ZOrder",
                                            "TS:ZOrder"};
    for (size_t i = 0; i < order.size(); ++i) {
        ASSERT_LT(rec.at(order[i]), rec.events.size()) << order[i] << " missing";
        if (i == 0) continue;
        EXPECT_LT(rec.at(order[i - 1]), rec.at(order[i])) << order[i - 1] << " before " << order[i];
    }
    EXPECT_GT(app.frm().get<Frame>("fmRAM").zOrder(), app.get<Control>("TS").zOrder());
    // The icon shows the caption as it stood when it was added (no memory tick yet).
    ASSERT_FALSE(app.host.trayCalls.empty());
    EXPECT_EQ(app.host.trayCalls.front().first, NIM_ADD_);
    EXPECT_EQ(app.host.trayCalls.front().second.tip, tipText(app.frm().caption()));
    EXPECT_TRUE(std::all_of(app.parts().graphs.physHistory().begin(), app.parts().graphs.physHistory().end(),
                            [](int16_t v) { return v == -1; }));
    EXPECT_EQ(app.parts().graphs.pageHistory()[364], -1);
    EXPECT_EQ(app.window->currentPage(), 0);
    EXPECT_NE(app.window->cpuSampler(), nullptr);
    EXPECT_GT(app.parts().amounts.totals().physMB, 0);  // initMemory ran
    EXPECT_FALSE(app.settings().isLoading());
    EXPECT_FALSE(app.log.has("frmMain,Form_Load"));
}

TEST(FormLoad, StartsOnlyTheCheckedFeaturesWithTheirIntervalFromNow) {
    TestApp app;
    app.presetCheck("Time", "Active", "chkTimeActive", 1);
    app.presetCheck("Auto", "Active", "chkAutoActive", 0);
    const DateTime before = app.parts().autoRelease.intervalStart();
    app.host.advance(90000);
    app.load();
    EXPECT_TRUE(app.timer("tmrTime").isEnabled());
    EXPECT_EQ(app.parts().timedRelease.intervalStart().ms, app.host.now().ms);
    EXPECT_FALSE(app.timer("tmrAuto").isEnabled());
    EXPECT_EQ(app.parts().autoRelease.intervalStart().ms, before.ms);
}

TEST(FormLoad, DisplayModes) {
    struct Case { int mode; bool visible; WindowState state; bool inTray; };
    for (const Case c : {Case{0, true, WindowState::Normal, false}, Case{1, true, WindowState::Minimized, false},
                         Case{2, false, WindowState::Normal, true}}) {
        SCOPED_TRACE(c.mode);
        TestApp app;
        app.presetDisplay(c.mode);
        app.load();
        EXPECT_EQ(app.frm().visible(), c.visible);
        EXPECT_EQ(app.frm().windowState(), c.state);
        EXPECT_EQ(app.window->tray().inTray(), c.inTray);
        ASSERT_EQ(app.host.trayCalls.size(), 1u);  // the icon is there in every mode
    }
}

struct LoadedApp : ::testing::Test {
    void SetUp() override {
        app.presetDisplay(0);
        app.load();
    }
    Frame& page(int i) { return app.get<Frame>(kPageFrames[i]); }
    Label& caption(int i) { return app.get<Label>(kPageLabels[i]); }
    TestApp app;
};

using PageSelection = LoadedApp;

TEST_F(PageSelection, SelectingAnotherPageSwapsFrameAndCaptionColour) {
    caption(4).userClick();
    EXPECT_TRUE(page(4).visible());
    EXPECT_FALSE(page(0).visible());
    EXPECT_EQ(caption(4).foreColor(), kBlue);
    EXPECT_EQ(caption(0).foreColor(), kWhite);
    EXPECT_EQ(app.window->currentPage(), 4);
    caption(1).userClick();
    EXPECT_FALSE(page(4).visible());
    EXPECT_EQ(caption(4).foreColor(), kWhite);
    EXPECT_EQ(app.window->currentPage(), 1);
    for (int i = 0; i < 7; ++i) EXPECT_EQ(page(i).visible(), i == 1) << i;
}

TEST_F(PageSelection, SelectingTheVisiblePageChangesNothing) {
    caption(0).userClick();
    EXPECT_TRUE(page(0).visible());
    EXPECT_EQ(caption(0).foreColor(), kWhite);  // nothing was selected yet, so nothing turns blue
    caption(5).userClick();
    caption(5).userClick();
    EXPECT_TRUE(page(5).visible() && !page(0).visible());
    EXPECT_EQ(caption(5).foreColor(), kBlue);
}

TEST_F(PageSelection, ViewMenuLeavesTheTabStripAndTabsBringThePageForward) {
    TabStrip& ts = app.get<TabStrip>("TS");
    const struct { const char* item; int page; } kItems[] = {
        {"mnuViewAutomatic", 1}, {"mnuViewTime", 2}, {"mnuViewLaucnher", 3}, {"mnuViewGraph", 4},
        {"mnuViewStartup", 5},   {"mnuHelpAbout", 6}, {"mnuViewReleaseRAM", 0}};
    for (const auto& item : kItems) {
        app.get<Menu>(item.item).userClick();
        EXPECT_TRUE(page(item.page).visible()) << item.item;
        EXPECT_EQ(app.window->currentPage(), item.page) << item.item;
        EXPECT_EQ(ts.selectedTab(), 1) << item.item;
    }
    ts.userSelectTab(7);
    EXPECT_TRUE(page(6).visible());
    EXPECT_EQ(app.window->currentPage(), 6);
    for (int i = 0; i < 6; ++i) EXPECT_GT(page(6).zOrder(), page(i).zOrder());
}

using ShowHide = LoadedApp;

TEST_F(ShowHide, HideKeepsTheIconAndShowRestores) {
    app.get<CommandButton>("cmdHide").userClick();
    EXPECT_FALSE(app.frm().visible());
    EXPECT_TRUE(app.window->tray().inTray());
    app.frm().setWindowState(WindowState::Minimized);
    app.get<Menu>("mnuShow").userClick();
    EXPECT_TRUE(app.frm().visible());
    EXPECT_EQ(app.frm().windowState(), WindowState::Normal);
    EXPECT_FALSE(app.window->tray().inTray());
    for (const auto& call : app.host.trayCalls) EXPECT_NE(call.first, NIM_DELETE_);
    EXPECT_FALSE(app.host.ended);
}

// A window that has loaded with the time release on or off, and a release cycle running.
struct PauseTest : ::testing::TestWithParam<bool> {
    void SetUp() override {
        app.presetDisplay(0);
        app.presetCheck("Time", "Active", "chkTimeActive", GetParam() ? 1 : 0);
        app.presetCheck("Auto", "Active", "chkAutoActive", 0);
        app.load();
        app.window->subsystems().engine.startRelease(app.window->subsystems().engine.availableMB() + 50, 1000);
    }
    CommandButton& pause() { return app.get<CommandButton>("cmdPause"); }
    TestApp app;
};

TEST_P(PauseTest, PauseStopsTimedActivityButNotTheRunningRelease) {
    const DateTime start = app.parts().timedRelease.intervalStart();
    pause().userClick();
    for (const char* t : {"tmrCPU", "tmrMemory", "tmrTime", "tmrAuto"}) EXPECT_FALSE(app.timer(t).isEnabled()) << t;
    EXPECT_TRUE(app.timer("tmrRam").isEnabled());
    EXPECT_EQ(app.frm().caption(), "Quillmere [Paused]");
    EXPECT_EQ(app.host.trayCalls.back().first, NIM_MODIFY_);
    EXPECT_EQ(app.host.trayCalls.back().second.tip, "Quillmere [Paused]");
    EXPECT_FALSE(app.window->tray().inTray());
    EXPECT_EQ(pause().caption(), "&Resume Activity");

    pause().userClick();
    EXPECT_TRUE(app.timer("tmrCPU").isEnabled());
    EXPECT_TRUE(app.timer("tmrMemory").isEnabled());
    EXPECT_EQ(app.timer("tmrTime").isEnabled(), GetParam());
    EXPECT_FALSE(app.timer("tmrAuto").isEnabled());
    EXPECT_EQ(app.parts().timedRelease.intervalStart().ms, start.ms);
    EXPECT_EQ(app.frm().caption(), "Quillmere [Paused]");  // until the memory timer's next refresh
    EXPECT_EQ(pause().caption(), "&Pause All Activity");
}

TEST_P(PauseTest, WhilePausedAndHiddenTheTooltipStaysPaused) {
    app.get<CommandButton>("cmdHide").userClick();
    pause().userClick();
    const size_t calls = app.host.trayCalls.size();
    app.host.advance(20000);
    EXPECT_EQ(app.host.trayCalls.size(), calls);
    EXPECT_EQ(app.host.trayCalls.back().second.tip, "Quillmere [Paused]");
}

INSTANTIATE_TEST_SUITE_P(TimeRelease, PauseTest, ::testing::Bool());

struct Ending : LoadedApp {
    bool iconRemoved() const {
        return std::any_of(app.host.trayCalls.begin(), app.host.trayCalls.end(),
                           [](const auto& call) { return call.first == NIM_DELETE_; });
    }
    bool farewellOpened() const {
        return std::any_of(app.fakes.shell.executed.begin(), app.fakes.shell.executed.end(),
                           [](const auto& call) { return call.file.find("/thankyou-for-using-quillmere.php") != std::string::npos; });
    }
    bool anyTimerRunning() {
        for (const char* t : {"tmrCPU", "tmrMemory", "tmrRam", "tmrTime", "tmrAuto"}) {
            if (app.timer(t).isEnabled()) return true;
        }
        return false;
    }
    void setQuit(int value) {
        app.settings().setLoading(true);
        app.get<CheckBox>("chkQuit").setValue(value);
        app.settings().setLoading(false);
    }
};

TEST_F(Ending, CloseBoxWithQuitHidesInTrayAndKeepsRunning) {
    setQuit(1);
    for (int mode : {0, 1}) {
        app.frm().show();
        EXPECT_FALSE(app.frm().queryUnload(mode));
        EXPECT_FALSE(app.frm().visible());
        EXPECT_TRUE(app.window->tray().inTray());
    }
    EXPECT_FALSE(app.host.ended);
    EXPECT_FALSE(iconRemoved());
    EXPECT_TRUE(app.timer("tmrCPU").isEnabled());
}

TEST_F(Ending, CloseBoxWithoutQuitEndsWithoutTheFarewellPage) {
    setQuit(0);
    EXPECT_TRUE(app.frm().queryUnload(0));
    EXPECT_TRUE(app.host.ended);
    EXPECT_TRUE(iconRemoved());
    EXPECT_FALSE(app.window->tray().inTray());
    EXPECT_FALSE(farewellOpened());
    EXPECT_FALSE(anyTimerRunning());
    EXPECT_EQ(app.window->cpuSampler(), nullptr);
}

TEST_F(Ending, SessionEndAndTaskManagerEndWhateverTheOption) {
    for (int mode : {2, 3}) {
        SCOPED_TRACE(mode);
        TestApp other;
        other.presetCheck("Startup", "Quit", "chkQuit", 1);
        other.load();
        EXPECT_TRUE(other.frm().queryUnload(mode));
        EXPECT_TRUE(other.host.ended);
        EXPECT_EQ(other.window->cpuSampler(), nullptr);
        EXPECT_TRUE(other.fakes.shell.executed.empty());
    }
}

TEST_F(Ending, ExitButtonReleasesStopsOpensFarewellAndEnds) {
    app.get<CommandButton>("cmdExit").userClick();
    EXPECT_TRUE(farewellOpened());
    EXPECT_TRUE(iconRemoved());
    EXPECT_FALSE(anyTimerRunning());
    EXPECT_EQ(app.window->cpuSampler(), nullptr);
    EXPECT_TRUE(app.host.ended);
    EXPECT_FALSE(app.log.has("frmMain,cmdExit_Click"));
}

TEST_F(Ending, FileExitOpensFarewellAndEndsWithoutStoppingAnything) {
    app.get<Menu>("mnuExit").userClick();
    EXPECT_TRUE(farewellOpened());
    EXPECT_TRUE(iconRemoved());
    EXPECT_TRUE(app.timer("tmrCPU").isEnabled());
    EXPECT_NE(app.window->cpuSampler(), nullptr);
    EXPECT_TRUE(app.host.ended);
}

struct LoadMenu : LoadedApp {
    ListBox& programs() { return app.get<ListBox>("lstLauncher"); }
    Menu& item(int i) { return app.frm().element<Menu>("mnuP1", i); }
    static std::string entry(const std::string& name, const std::string& path) {
        return name + std::string(52, ' ') + "|" + path;
    }
};

TEST_F(LoadMenu, EmptyListDisablesProgramsAndNamesTheReleaseItem) {
    programs().clear();
    ListBox& ram = app.get<ListBox>("lstRam");
    ASSERT_GT(ram.listCount(), 3);
    ram.setListIndex(3);
    app.window->loadMenu();
    EXPECT_FALSE(app.get<Menu>("mnuPrograms").enabled());
    EXPECT_EQ(app.get<Menu>("mnuRelease").caption(), "Free Up " + ram.list(3) + " Now");
    ram.setListIndex(-1);
    app.window->loadMenu();
    EXPECT_EQ(app.get<Menu>("mnuRelease").caption(), "Free Up  Now");
}

TEST_F(LoadMenu, ThreeProgramsGiveThreeItemsAndAShorterListUnloadsTheRest) {
    programs().clear();
    programs().addItem(entry("Notepad", "C:\\Windows\\notepad.exe"));
    programs().addItem(entry("  Paint Shop ", "C:\\Program Files\\psp.exe"));
    programs().addItem("Calc|C:\\calc.exe|x");
    app.window->loadMenu();
    EXPECT_EQ(app.frm().elementIndexes("mnuP1"), (std::vector<int>{0, 1, 2}));
    EXPECT_EQ(item(0).caption(), "Notepad");
    EXPECT_EQ(item(1).caption(), "Paint Shop");
    EXPECT_EQ(item(2).caption(), "Calc");
    EXPECT_TRUE(item(1).visible());
    EXPECT_TRUE(item(2).visible());
    EXPECT_TRUE(app.get<Menu>("mnuPrograms").enabled());

    programs().removeItem(0);
    app.window->loadMenu();  // rebuilding (as the program-list editor does) starts afresh
    EXPECT_EQ(app.frm().elementIndexes("mnuP1"), (std::vector<int>{0, 1}));
    EXPECT_EQ(item(0).caption(), "Paint Shop");
    programs().clear();
    app.window->loadMenu();
    EXPECT_EQ(app.frm().elementIndexes("mnuP1"), (std::vector<int>{0}));
    EXPECT_FALSE(app.get<Menu>("mnuPrograms").enabled());
    EXPECT_FALSE(app.log.has("frmMain,loadMenu"));
}

}  // namespace
}  // namespace qm
