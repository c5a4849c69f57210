#include <gtest/gtest.h>

#include <string>

#include "app/sys_tray.h"
#include "support/test_app.h"

namespace qm {
namespace {

using test::TestApp;

struct Tray : ::testing::Test {
    void SetUp() override {
        app.presetDisplay(0);
        app.load();
    }
    SysTray& tray() { return app.window->tray(); }
    const NotifyIconData& lastCall() { return app.host.trayCalls.back().second; }
    // A click on the icon, as a host reports it.
    void click(TrayActivation activation, TrayKind tray = TrayKind::ClickThenDoubleClick) {
        app.frm().onTrayActivated({activation, tray});
    }
    TestApp app;
};

TEST_F(Tray, ShowIconFillsTheRecordFromTheWindow) {
    ASSERT_EQ(app.host.trayCalls.size(), 1u);
    EXPECT_EQ(app.host.trayCalls[0].first, NIM_ADD_);
    const NotifyIconData& data = lastCall();
    EXPECT_EQ(data.cbSize, 88u);
    EXPECT_EQ(data.window, &app.frm());
    EXPECT_EQ(data.uID, 1u);
    EXPECT_EQ(data.uFlags, 7u);
    EXPECT_EQ(data.uCallbackMessage, 512u);
    EXPECT_EQ(data.icon, app.frm().iconResource());
    EXPECT_EQ(data.tip, tipText(app.frm().caption()));
}

TEST_F(Tray, TooltipChangesOnlyWhileInTrayAndIsCutTo63Characters) {
    tray().setInTray(false);
    tray().changeToolTip("ignored");
    EXPECT_EQ(app.host.trayCalls.size(), 1u);

    tray().setInTray(true);
    const std::string long64(63, 'a');
    tray().changeToolTip(long64 + "b");
    EXPECT_EQ(app.host.trayCalls.back().first, NIM_MODIFY_);
    EXPECT_EQ(lastCall().tip, long64);
    tray().changeToolTip(std::string(62, 'c') + "d");
    EXPECT_EQ(lastCall().tip, std::string(62, 'c') + "d");
    // The rest of the record stays as showIcon left it.
    EXPECT_EQ(lastCall().uCallbackMessage, 512u);
    EXPECT_EQ(lastCall().uFlags, 7u);
    EXPECT_EQ(lastCall().uID, 1u);
}

TEST_F(Tray, RemoveIconClearsTipAndInTray) {
    tray().setInTray(true);
    tray().RemoveIcon();
    EXPECT_EQ(app.host.trayCalls.back().first, NIM_DELETE_);
    EXPECT_EQ(lastCall().uCallbackMessage, 1u);
    EXPECT_EQ(lastCall().tip, "");
    EXPECT_FALSE(tray().inTray());
    EXPECT_EQ(tray().iconData().uCallbackMessage, 1u);
}

TEST_F(Tray, HiddenWindowFollowsTheMemoryTimerShownWindowDoesNot) {
    app.host.advance(3000);
    EXPECT_EQ(app.host.trayCalls.size(), 1u);
    app.get<CommandButton>("cmdHide").userClick();
    app.host.advance(3000);
    ASSERT_GT(app.host.trayCalls.size(), 1u);
    EXPECT_EQ(lastCall().tip, tipText(app.frm().caption()));
}

TEST_F(Tray, DoubleClickShowsTheHiddenWindowRestored) {
    app.frm().setWindowState(WindowState::Minimized);
    app.get<CommandButton>("cmdHide").userClick();
    click(TrayActivation::Double);
    EXPECT_TRUE(app.frm().visible());
    EXPECT_EQ(app.frm().windowState(), WindowState::Normal);
    EXPECT_FALSE(tray().inTray());
    EXPECT_TRUE(app.host.popups.empty());
}

TEST_F(Tray, RightButtonPopsUpTheFileMenuOnlyWhileHidden) {
    app.get<CommandButton>("cmdHide").userClick();
    click(TrayActivation::Context);
    ASSERT_EQ(app.host.popups.size(), 1u);
    EXPECT_EQ(app.host.popups[0], "mnuFile");
    EXPECT_FALSE(app.frm().visible());

    app.frm().show();
    app.frm().setWindowState(WindowState::Minimized);
    const int raised = app.host.foregroundCalls;
    click(TrayActivation::Context);
    EXPECT_EQ(app.host.popups.size(), 1u);
    EXPECT_EQ(app.frm().windowState(), WindowState::Normal);
    EXPECT_EQ(app.host.foregroundCalls, raised + 1);
    click(TrayActivation::Double);
    EXPECT_EQ(app.host.foregroundCalls, raised + 2);
}

TEST_F(Tray, ASingleActivationShowsTheWindowOnlyWhereNoDoubleClickComes) {
    app.get<CommandButton>("cmdHide").userClick();
    click(TrayActivation::Single);  // XEmbed and Windows: the double click follows
    click(TrayActivation::Other, TrayKind::SingleActivationOnly);
    EXPECT_FALSE(app.frm().visible());
    EXPECT_EQ(app.host.foregroundCalls, 0);
    click(TrayActivation::Single, TrayKind::SingleActivationOnly);  // a StatusNotifierItem tray: Activate
    EXPECT_TRUE(app.frm().visible());
    app.get<CommandButton>("cmdHide").userClick();
    click(TrayActivation::Context, TrayKind::SingleActivationOnly);
    EXPECT_EQ(app.host.popups, std::vector<std::string>{"mnuFile"});
    click(TrayActivation::Double);
    EXPECT_TRUE(app.frm().visible());
}

}  // namespace
}  // namespace qm
