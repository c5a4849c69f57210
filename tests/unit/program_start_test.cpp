// The start every host's main() calls: the error log, the hand-over from later starts,
// the session's end, and the host's event loop.
#include <gtest/gtest.h>

#include "app/program.h"
#include "forms/headless_host.h"
#include "support/fake_platform.h"

namespace qm {
namespace {

struct StartProgram : ::testing::Test {
    HeadlessHost host;
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

TEST(ErrorLogPath, TheErrorFileLiesInTheProgramsFolder) {
    test::FakeProgramFolder folder;
    EXPECT_EQ(errorLogPath(folder), "C:\\Apps\\Quillmere\\error");
    folder.path = "/home/user/quillmere";
    EXPECT_EQ(errorLogPath(folder), "/home/user/quillmere\\error") << "with the port's own separator";
}

}  // namespace
}  // namespace qm
