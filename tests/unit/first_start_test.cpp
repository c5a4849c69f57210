// A whole start-up of the main window with every subsystem and loader wired in.
#include <gtest/gtest.h>

#include "support/test_app.h"

namespace qm::test {
namespace {

TEST(FirstStart, LeavesExactlyThreeKeysAndShowsEveryDefault) {
    TestApp app;
    app.fakes.memory.current = {1024 * MB, 600 * MB, 2048 * MB, 1500 * MB};
    app.load();
    EXPECT_EQ(app.settingsText(), "[Memory]\r\nGraphInterval=1.5\r\n[Time]\r\nRelease=0\r\n[Startup]\r\nCPUUpdate=2\r\n");
    EXPECT_EQ(app.get<ListBox>("lstRam").text(), "2 MB");
    EXPECT_EQ(app.get<ComboBox>("cmbStartupRam").text(), "0 MB");
    EXPECT_EQ(app.get<ComboBox>("cmbStartupWait").text(), "1");
    EXPECT_EQ(app.get<ComboBox>("cmbRetry").text(), "1");
    EXPECT_EQ(app.get<ListBox>("lstAutoInterval").text(), "30");
    EXPECT_EQ(app.get<ComboBox>("cmbAutoCPU").text(), "60");
    EXPECT_EQ(app.get<ListBox>("lstTimeInterval").text(), "30");
    EXPECT_TRUE(app.get<OptionButton>("optTimeMinute").value());
    EXPECT_EQ(app.get<CheckBox>("chkQuit").value(), 1);
    EXPECT_EQ(app.get<CheckBox>("chkStartup").value(), 0);
    EXPECT_TRUE(app.frm().element<OptionButton>("optDisplay", 0).value());
    EXPECT_TRUE(app.frm().element<OptionButton>("optCPU", 2).value());
    EXPECT_TRUE(app.frm().element<OptionButton>("optLauncher", 1).value());
    EXPECT_TRUE(app.timer("tmrAuto").isEnabled());
    EXPECT_TRUE(app.timer("tmrTime").isEnabled());
    EXPECT_FALSE(app.timer("tmrRam").isEnabled());
    EXPECT_TRUE(app.frm().visible());
    EXPECT_EQ(app.get<Menu>("mnuRelease").caption(), "Free Up 2 MB Now");
    EXPECT_FALSE(app.get<Menu>("mnuPrograms").enabled());
    EXPECT_TRUE(app.log.entries.empty()) << app.log.entries.front().context;
}

TEST(FirstStart, StoredStartupReleaseRunsOneWaitAfterStart) {
    TestApp app;
    app.fakes.memory.current = {1024 * MB, 600 * MB, 2048 * MB, 1500 * MB};
    app.setSettingsText("[Startup]\r\nRelease=64\r\nWait=29\r\nRetry=2\r\n[Auto]\r\nActive=0\r\n[Time]\r\nActive=0\r\n");
    app.load();
    EXPECT_EQ(app.parts().engine.releaseTarget(), 728);
    app.host.advance(29999);
    EXPECT_TRUE(app.fakes.memory.touched.empty());
    app.host.advance(1);
    ASSERT_EQ(app.fakes.memory.touched.size(), 1u);
    EXPECT_EQ(app.fakes.memory.touched[0], 728 * MB);
    app.host.advance(90000);
    EXPECT_EQ(app.fakes.memory.touched.size(), 3u);
    EXPECT_FALSE(app.timer("tmrRam").isEnabled());
}

}  // namespace
}  // namespace qm::test
