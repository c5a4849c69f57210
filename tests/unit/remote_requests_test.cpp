// What a later start asks the running copy, and what every release cycle tells the user.
#include <gtest/gtest.h>

#include "memory/release_report.h"
#include "support/test_app.h"

namespace qm::test {
namespace {

struct Requests : ::testing::Test {
    void SetUp() override {
        app.fakes.memory.current = {1024 * MB, 300 * MB, 2048 * MB, 1000 * MB, 100 * MB};
        app.fakes.memory.freedPerTouch = 50 * MB;
        app.load();
    }
    // Sends a request the way the channel hands it over; the replies it got so far.
    std::shared_ptr<std::vector<std::string>> ask(const std::string& request) {
        auto replies = std::make_shared<std::vector<std::string>>();
        app.fakes.instance.onRequest(request, [replies](const std::string& line) { replies->push_back(line); });
        return replies;
    }
    void runCycle() {
        for (int s = 0; s < 30 && app.window->subsystems().engine.isReleasing(); ++s) app.host.advance(1000);
    }
    TestApp app;
};

TEST_F(Requests, AReleaseIsAnsweredWhenItsCycleEndsAndAnotherMeetsTheRunningOne) {
    auto first = ask("release 100");
    EXPECT_TRUE(app.window->subsystems().engine.isReleasing());
    EXPECT_EQ(app.window->subsystems().engine.releaseTarget(), 400);
    EXPECT_TRUE(first->empty()) << "no answer before the cycle ends";
    auto second = ask("release");
    EXPECT_EQ(*second, std::vector<std::string>{"busy"}) << "at once, the running cycle untouched";
    EXPECT_EQ(app.window->subsystems().engine.releaseTarget(), 400);
    runCycle();
    ASSERT_EQ(first->size(), 1u);
    EXPECT_EQ((*first)[0], "released Released 50 MB: free memory rose from 100 to 150 MB; available memory rose "
                           "from 300 to 350 MB.");
    EXPECT_TRUE(app.log.entries.empty());
}

TEST_F(Requests, WithoutANumberThePagesAmountIsReleasedAndBadRequestsAreRefusedAndLogged) {
    app.get<ListBox>("lstRam").setListIndex(9);  // "20 MB"
    auto selected = ask("release");
    EXPECT_EQ(app.window->subsystems().engine.releaseTarget(), 320);
    runCycle();
    EXPECT_EQ(selected->size(), 1u);
    struct Bad {
        const char* request;
        const char* reply;
    };
    for (const Bad& bad : {Bad{"release abc", "refused the amount is no whole number of MB"},
                           Bad{"release -5", "refused the amount is no whole number of MB"},
                           Bad{"frobnicate", "refused not understood"}, Bad{"", "refused not understood"}}) {
        const size_t logged = app.log.entries.size();
        EXPECT_EQ(*ask(bad.request), std::vector<std::string>{bad.reply}) << bad.request;
        EXPECT_EQ(app.log.entries.size(), logged + 1) << bad.request;
        EXPECT_FALSE(app.window->subsystems().engine.isReleasing()) << bad.request;
    }
    EXPECT_EQ(app.log.entries.back().context, "frmMain,remoteRequest");
    EXPECT_EQ(*ask("release 0"), std::vector<std::string>{"released Released nothing: free memory stayed at 150 MB; "
                                                          "available memory stayed at 350 MB."});
    EXPECT_FALSE(app.window->subsystems().engine.isReleasing()) << "nothing asked for, no cycle";
    EXPECT_EQ(*ask("show"), std::vector<std::string>{"shown"});
    EXPECT_TRUE(app.frm().visible());
}

TEST_F(Requests, EveryCycleEndsInANotificationThatTheViewMenuTurnsOffAndStores) {
    app.get<ListBox>("lstRam").setListIndex(0);
    app.get<CommandButton>("cmdRam").userClick();
    runCycle();
    ASSERT_EQ(app.host.trayMessages.size(), 1u);
    EXPECT_EQ(app.host.trayMessages[0].rfind("Quillmere: Released 50 MB: free memory rose from 100 to 150 MB", 0), 0u);

    Menu& notify = app.get<Menu>("mnuViewNotify");
    EXPECT_TRUE(notify.checked()) << "on by default";
    notify.userClick();
    EXPECT_FALSE(notify.checked());
    EXPECT_NE(app.settingsText().find("[View]\r\nReleaseNotice=0"), std::string::npos) << app.settingsText();
    app.get<CommandButton>("cmdRam").userClick();
    runCycle();
    EXPECT_EQ(app.host.trayMessages.size(), 1u) << "turned off";
}

TEST(ReleaseReport, WhatGrewIsSaidHonestly) {
    constexpr uint64_t M = 1024 * 1024;
    struct Case {
        MemoryStatus before, after;
        const char* text;
    };
    const Case cases[] = {
        {{0, 20100 * M, 0, 0, 812 * M}, {0, 20300 * M, 0, 0, 2046 * M},
         "Released 1234 MB: free memory rose from 812 to 2046 MB; available memory rose from 20100 to 20300 MB."},
        {{0, 900 * M, 0, 0, 500 * M}, {0, 880 * M, 0, 0, 490 * M},
         "Released nothing: free memory fell from 500 to 490 MB; available memory fell from 900 to 880 MB."},
        // Windows has no free figure apart from the available one.
        {{0, 900 * M, 0, 0, 900 * M}, {0, 1000 * M, 0, 0, 1000 * M},
         "Released 100 MB: available memory rose from 900 to 1000 MB."},
        {{0, 900 * M, 0, 0, 900 * M}, {0, 900 * M, 0, 0, 900 * M}, "Released nothing: available memory stayed at 900 MB."},
    };
    for (const Case& c : cases) EXPECT_EQ(releaseResultText({c.before, c.after}), c.text);
}

}  // namespace
}  // namespace qm::test
