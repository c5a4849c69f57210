// Launching from the Launcher page and the "&Programs" menu: the pre-release loop with its
// held blocks and event passes, the share table, and the entries that start nothing.
#include "launcher/pre_release.h"
#include "launcher_fixture.h"

namespace qm::test {
namespace {

constexpr const char* kNotFound = "The program is not found. Please check manually if it exists.";

struct Launch : LauncherApp {
    const std::string notepad = "C:\\Windows\\notepad.exe";
    const std::string pad = "C:\\Tools\\pad.exe";
    std::vector<std::string> events() { return app.fakes.memory.events; }

    void SetUp() override {
        storeList({entry("notepad", notepad), entry("pad", pad)});
        app.load();  // 256 MB machine: totalPhysMB 257, 128 MB available
        app.fakes.shell.onStart = [this](const std::string& path) {
            app.fakes.memory.events.push_back("start " + path);
            busyAtStart = app.host.busyOver;
        };
    }
    void chooseShare(int option) { app.frm().element<OptionButton>("optLauncher", option).setValue(true); }
    void chooseLimit(int attempts) { app.get<ComboBox>("cmbLauncher").setListIndex(attempts - 1); }
    void doubleClick(int index) {
        lstLauncher().setListIndex(index);
        lstLauncher().userDoubleClick();
    }
    std::string busyAtStart;
};

TEST_F(Launch, DontFreeUpStartsOnceAtOnce) {
    chooseShare(4);
    const int statusBefore = app.fakes.memory.statusCalls, passesBefore = app.host.doEventsCalls;
    doubleClick(0);
    EXPECT_EQ(events(), (std::vector<std::string>{"start " + notepad}));
    EXPECT_EQ(app.fakes.memory.statusCalls, statusBefore);
    EXPECT_EQ(app.host.doEventsCalls, passesBefore);
}

TEST_F(Launch, TheDefaultLimitHoldsOneBlockWhileTheProgramStartsAndFreesItAfter) {
    ASSERT_EQ(app.get<ComboBox>("cmbLauncher").text(), "1");
    const int passesBefore = app.host.doEventsCalls;
    doubleClick(1);
    // 10% of 257 is 26 (25.7 rounded); the block is what is available now plus that.
    const std::string block = std::to_string((128 + 26) * MB);
    EXPECT_EQ(events(), (std::vector<std::string>{"hold " + block, "start " + pad, "free " + block}));
    EXPECT_EQ(app.host.doEventsCalls - passesBefore, 8) << "four passes before and four after the attempt";
    EXPECT_EQ(busyAtStart, "lstLauncher");
    EXPECT_EQ(app.host.busyPointers, (std::vector<std::string>{"lstLauncher on", "lstLauncher off"}));
    EXPECT_TRUE(app.log.entries.empty());
}

TEST_F(Launch, WhileTheBlockIsWrittenTheWindowsEventsGoOn) {
    app.host.holdBackground = true;
    const int passesBefore = app.host.doEventsCalls;
    doubleClick(1);
    const std::string block = std::to_string((128 + 26) * MB);
    EXPECT_EQ(events(), (std::vector<std::string>{"hold " + block, "start " + pad, "free " + block}));
    EXPECT_EQ(app.host.doEventsCalls - passesBefore, 9) << "the eight passes and one while the block was written";
    EXPECT_EQ(app.host.backgroundHeld(), 0u);
    EXPECT_TRUE(app.log.entries.empty());
}

TEST_F(Launch, WhatTheReleaseBeforeALaunchFreedIsToldOnceItsBlockIsGone) {
    app.fakes.memory.freedPerTouch = 30 * MB;
    doubleClick(1);
    ASSERT_EQ(app.host.trayMessages.size(), 1u);
    EXPECT_EQ(app.host.trayMessages[0].rfind("Quillmere: Released", 0), 0u) << app.host.trayMessages[0];
    EXPECT_NE(app.host.trayMessages[0].find("available memory rose from 128 to 158 MB"), std::string::npos)
        << app.host.trayMessages[0];
    chooseShare(4);
    doubleClick(0);
    EXPECT_EQ(app.host.trayMessages.size(), 1u) << "no release, nothing told";
}

TEST_F(Launch, EachNewBlockExistsBeforeThePreviousOneIsFreed) {
    chooseLimit(3);
    app.fakes.memory.upcoming = {app.fakes.memory.current, {256 * MB, 100 * MB, 512 * MB, 384 * MB},
                                 {256 * MB, 110 * MB, 512 * MB, 384 * MB}, {256 * MB, 120 * MB, 512 * MB, 384 * MB}};
    doubleClick(0);
    auto block = [](int mb) { return std::to_string((mb + 26) * MB); };
    EXPECT_EQ(events(), (std::vector<std::string>{"hold " + block(100), "hold " + block(110), "free " + block(100),
                                                  "hold " + block(120), "free " + block(110), "start " + notepad,
                                                  "free " + block(120)}));
}

TEST_F(Launch, TheLoopEndsWhenTheGainIsReachedAndATargetOfZeroHoldsNothing) {
    chooseLimit(5);
    app.fakes.memory.freedPerTouch = 30 * MB;  // the first block frees more than the 26 MB asked
    doubleClick(0);
    EXPECT_EQ(events().size(), 3u);
    EXPECT_EQ(events()[0].rfind("hold ", 0), 0u);

    app.fakes.memory.events.clear();
    app.fakes.memory.current.totalPhys = 3 * MB;  // a total of 4 MB: 10% of it rounds to 0
    app.parts().amounts.initMemory();
    ASSERT_EQ(app.parts().amounts.totals().physMB, 4);
    doubleClick(0);
    EXPECT_EQ(events(), (std::vector<std::string>{"start " + notepad}));
}

TEST_F(Launch, ARefusedBlockIsLoggedTheHeldOneStaysAndTheLoopGoesOn) {
    chooseLimit(3);
    app.fakes.memory.holdRefusals = {false, true, false};
    doubleClick(0);
    const std::string block = std::to_string((128 + 26) * MB);
    EXPECT_EQ(events(), (std::vector<std::string>{"hold " + block, "refused " + block, "hold " + block, "free " + block,
                                                  "start " + notepad, "free " + block}));
    EXPECT_TRUE(app.log.has("frmMain,launchApp", errOutOfMemory));
}

TEST_F(Launch, ABlockBeyondTheMachinesTotalIsCappedAtTheTotal) {
    chooseShare(3);  // 20% of 257: 51 MB
    app.fakes.memory.current.availPhys = 250 * MB;
    doubleClick(0);
    EXPECT_EQ(events().front(), "hold " + std::to_string(256 * MB));
}

TEST_F(Launch, WithNoNumberShownTheProgramStartsAtOnceAndTheConversionIsLogged) {
    app.get<ComboBox>("cmbLauncher").setListIndex(-1);
    doubleClick(1);
    EXPECT_EQ(events(), (std::vector<std::string>{"start " + pad}));
    EXPECT_TRUE(app.log.has("frmMain,launchApp", errTypeMismatch));
}

TEST_F(Launch, ADeletedFileIsNotFoundFromThePageAndFromTheMenu) {
    app.fakes.files.files.erase(pad);
    doubleClick(1);
    item(1).userClick();
    EXPECT_EQ(prompts(), (std::vector<std::string>{kNotFound, kNotFound}));
    EXPECT_EQ(app.host.messages[0].style, vbOKOnly | vbInformation);
    EXPECT_TRUE(events().empty()) << "nothing is freed or started";
    EXPECT_TRUE(app.host.busyPointers.empty());
}

TEST_F(Launch, MenuItemsStartTheEntryAtTheirOwnIndexAlsoAfterTheMenuIsRebuilt) {
    chooseShare(4);
    item(1).userClick();  // "pad": notepad.exe, standing first, contains pad.exe too
    EXPECT_EQ(app.fakes.shell.started, (std::vector<std::string>{pad}));
    EXPECT_EQ(lstLauncher().listIndex(), 1);

    const std::string tool = "/usr/local/bin/tool";
    app.fakes.files.files[tool] = "program";
    lstLauncher().addItem(entry("tool", tool));  // no ".exe": found by index all the same
    app.window->loadMenu();
    item(2).userClick();
    EXPECT_EQ(app.fakes.shell.started.back(), tool);
}

TEST_F(Launch, EntriesWithoutABarOrWithoutASelectionDoNothing) {
    lstLauncher().addItem("");
    lstLauncher().addItem("no bar here");
    doubleClick(2);
    doubleClick(3);
    lstLauncher().setListIndex(-1);
    lstLauncher().userDoubleClick();
    EXPECT_TRUE(events().empty());
    EXPECT_TRUE(app.host.messages.empty());
    EXPECT_TRUE(app.log.entries.empty());
}

TEST_F(Launch, AFailedStartIsLoggedWithoutAMessage) {
    chooseShare(4);
    app.fakes.shell.failStart = true;
    doubleClick(0);
    EXPECT_TRUE(app.log.has("frmMain,launchApp", errFileNotFound));
    EXPECT_TRUE(app.host.messages.empty());
    EXPECT_EQ(app.host.busyOver, "");
}

struct ShareCase {
    int option;
    int32_t totalPhysMB;
    int32_t target;
};

class ShareTable : public LauncherApp, public ::testing::WithParamInterface<ShareCase> {};

TEST_P(ShareTable, TargetIsTheShareOfTotalRoundedHalfToEven) {
    const ShareCase c = GetParam();
    const MemoryTotals totals{c.totalPhysMB, 0};
    for (int i = 0; i <= 4; ++i) app.frm().element<OptionButton>("optLauncher", i).setValue(false);
    if (c.option >= 0) app.frm().element<OptionButton>("optLauncher", c.option).setValue(true);
    EXPECT_EQ(PreRelease(app.ctx(), totals).targetMB(), c.target);
}

INSTANTIATE_TEST_SUITE_P(Shares, ShareTable,
                         ::testing::Values(ShareCase{3, 257, 51}, ShareCase{2, 1025, 154}, ShareCase{0, 1025, 51},
                                           ShareCase{1, 1025, 102}, ShareCase{-1, 1025, 0},
                                           ShareCase{3, 65537, 13107}));

}  // namespace
}  // namespace qm::test
