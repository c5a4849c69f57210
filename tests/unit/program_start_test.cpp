// The start every host's main() calls: the error log, the hand-over from later starts,
// the session's end, and the host's event loop.
#include <gtest/gtest.h>

#include "app/program.h"
#include "forms/headless_host.h"
#include "support/fake_platform.h"
#include "update/reg_strings.h"

namespace qm {
namespace {

// Notes whether the window was already on screen when its session end was first watched.
struct WatchingHost : HeadlessHost {
    void watchSessionEnd(Form& form) override {
        HeadlessHost::watchSessionEnd(form);
        shownWhenWatched.push_back(form.visible());
    }
    std::vector<bool> shownWhenWatched;
};

struct StartProgram : ::testing::Test {
    WatchingHost host;
    test::FakePlatform fakes;
    Platform platform = fakes.platform(host);
    std::function<void()> onActivate;
    Form* mainWindow = nullptr;
    bool loopRan = false;

    int start(std::function<int()> loop) {
        return startProgram(host, platform, {onActivate, [&, loop] {
                                                 loopRan = true;
                                                 return loop();
                                             },
                                             [this](Form& frm) { mainWindow = &frm; }});
    }
};

TEST_F(StartProgram, ALaterStartShowsTheRunningWindowWhileTheLoopRuns) {
    const int exitCode = start([&] {
        EXPECT_NE(mainWindow, nullptr);
        EXPECT_EQ(host.sessionWatched, std::vector<std::string>{mainWindow->name()});
        EXPECT_EQ(host.shownWhenWatched, std::vector<bool>{false}) << "a signal during the start ends it cleanly";
        mainWindow->hide();
        mainWindow->setWindowState(WindowState::Minimized);
        const int raised = host.foregroundCalls;
        onActivate();
        EXPECT_TRUE(mainWindow->visible());
        EXPECT_EQ(mainWindow->windowState(), WindowState::Normal);
        EXPECT_GT(host.foregroundCalls, raised);
        return 3;
    });
    EXPECT_EQ(exitCode, 3) << "the loop's result is the program's";
    EXPECT_FALSE(onActivate) << "no signal may reach the window once it is gone";
}

TEST_F(StartProgram, HandingOverRunsNoLoopAndWiresNothing) {
    fakes.instance.running = true;
    fakes.instance.found = true;
    EXPECT_EQ(start([] { return 3; }), 0);
    EXPECT_FALSE(loopRan);
    EXPECT_FALSE(onActivate);
    EXPECT_EQ(mainWindow, nullptr);
    EXPECT_TRUE(host.sessionWatched.empty());
}

// The upgrade's next start may meet the program that started it still ending.
TEST_F(StartProgram, AnUpgradeStartWaitsForTheEndingProgramInsteadOfHandingOverToIt) {
    fakes.registry.setString(HKEY_LOCAL_MACHINE_, kUpdateKey, "Up", "c");
    fakes.instance.running = fakes.instance.found = fakes.instance.endsWhileWaited = true;
    EXPECT_EQ(start([] { return 4; }), 4);
    ASSERT_EQ(fakes.instance.waits.size(), 1u);
    EXPECT_GT(fakes.instance.waits[0], 0);
    EXPECT_LE(fakes.instance.waits[0], 30000) << "the wait is bounded";
    EXPECT_EQ(fakes.instance.activations, 0);
    EXPECT_EQ(fakes.registry.stringValue(HKEY_LOCAL_MACHINE_, kUpdateKey, "Up"), "a") << "the upgrade went on";
}

TEST_F(StartProgram, OnlyAnUpgradeStartWaitsAndACopyThatStaysIsStillBroughtForward) {
    fakes.instance.running = fakes.instance.found = true;
    for (const char* up : {"b", "a", "ab", ""}) {
        fakes.instance.waits.clear();
        fakes.registry.setString(HKEY_LOCAL_MACHINE_, kUpdateKey, "Up", up);
        EXPECT_EQ(start([] { return 4; }), 0) << up;
        EXPECT_EQ(fakes.instance.waits.size(), std::string(up) == "b" ? 1u : 0u) << up;
    }
    EXPECT_EQ(fakes.instance.activations, 4);
    EXPECT_EQ(fakes.registry.stringValue(HKEY_LOCAL_MACHINE_, kUpdateKey, "Up"), "") << "nothing was replaced";
}

TEST(ErrorLogPath, TheErrorFileLiesInTheProgramsFolder) {
    test::FakeProgramFolder folder;
    EXPECT_EQ(errorLogPath(folder), "C:\\Apps\\Quillmere\\error");
    folder.path = "/home/user/quillmere";
    EXPECT_EQ(errorLogPath(folder), "/home/user/quillmere\\error") << "with the port's own separator";
}

}  // namespace
}  // namespace qm

namespace qm {
namespace {

// A folder where no file can be made loses every option changed: the start says so, once,
// and goes on; a folder that keeps files starts without a word.
TEST_F(StartProgram, AFolderThatCannotKeepFilesIsToldAtStart) {
    for (const bool writable : {true, false}) {
        WatchingHost quiet;
        test::FakePlatform machine;
        Platform ports = machine.platform(quiet);
        machine.folder.writable = writable;
        std::function<void()> activate;
        startProgram(quiet, ports, {activate, [] { return 0; }, {}});
        int told = 0;
        for (const ShownMessage& m : quiet.messages) told += m.prompt.find("will not be kept") != std::string::npos;
        EXPECT_EQ(told, writable ? 0 : 1) << (writable ? "writable" : "read-only");
    }
}

}  // namespace
}  // namespace qm
