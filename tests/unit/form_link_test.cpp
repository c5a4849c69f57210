// What both hosts' windows share: the twips rectangle, following the form, and turning the
// user's window actions into the form's own calls.
#include <gtest/gtest.h>

#include <stdexcept>

#include "forms/form_link.h"
#include "forms/headless_host.h"

namespace qm {
namespace {

TEST(TwipsRectangle, NeighboursThatMeetInTwipsMeetInPixels) {
    for (double dpi : {96.0, 120.0, 144.0, 168.0}) {
        const TwipScale scale{dpi, dpi};
        for (int left = 0; left < 400; left += 7) {
            for (int width = 1; width < 300; width += 11) {
                const PixelRect a = scale.rect(left, left, width, width);
                const PixelRect b = scale.rect(left + width, left + width, 50, 50);
                ASSERT_EQ(a.right, b.left) << dpi << " dpi, left " << left << ", width " << width;
                ASSERT_EQ(a.bottom, b.top);
                ASSERT_EQ(a.width(), scale.x(left + width) - scale.x(left));
            }
        }
    }
    // Converting the width alone would give 7 px here and overlap the neighbour at 200.
    const TwipScale at96;
    EXPECT_EQ(at96.rect(100, 0, 100, 300), (PixelRect{7, 0, 13, 20}));
    EXPECT_EQ(at96.rect(200, 0, 100, 300).left, 13);
    const TwipScale uneven{120, 144};
    EXPECT_DOUBLE_EQ(uneven.twipsPerPixelY(), 10);
}

struct TestView {
    explicit TestView(Control& c) : control(c) {}
    void mirrorAll() { ++mirrored; }
    void detach() { detached = true; }
    void showHeldCaption() { ++heldShown; }
    Control& control;
    int mirrored = 0;
    int heldShown = 0;
    bool detached = false;
};

// A window of no window system: it records what the shared part asks of it.
class TestWindow : public FormMirror<TestView> {
public:
    TestWindow(Form& form, TwipScale scale = {}) : FormMirror(form, scale, [this](const std::string& who, const char* what) {
        strays.push_back(who + ": " + what);
    }) {
        follow();
    }
    ~TestWindow() override { stopFollowing(); }
    void showFromOutside() override { showFormFromOutside(); }
    void bringToFront() override {}
    using FormMirror::showHeldCaptions;

    // What the window system would report while the window takes a model change.
    std::function<void()> echo;
    std::vector<Prop> windowProps;
    std::vector<std::string> released;
    std::vector<std::string> strays;
    bool hidden = false;

private:
    bool windowHidden() const override { return hidden; }
    void addView(Control& control) override {
        if (control.kind() != ControlKind::Timer) adopt(control, std::make_unique<TestView>(control));
    }
    void removeView(Control& control) override {
        if (auto view = release(control)) released.push_back(view->control.name() + (view->detached ? " detached" : ""));
    }
    void mirrorWindow(Prop what) override {
        windowProps.push_back(what);
        if (echo) echo();
    }
};

TEST(FormLinkViews, EveryControlGetsOneViewAndTheWindowItsOwnProperties) {
    Form frm("frmTest");
    Label& label = frm.add<Label>("lblA");
    frm.add<Timer>("tmrA");
    TestWindow window(frm);
    ASSERT_NE(window.viewOf(&label), nullptr);
    EXPECT_EQ(window.viewOf(&label)->mirrored, 1);
    EXPECT_EQ(window.viewOf(&frm.get<Timer>("tmrA")), nullptr) << "a kind the host draws no view for";
    EXPECT_EQ(window.windowProps, std::vector<Prop>(kWindowProps.begin(), kWindowProps.end()));
    EXPECT_EQ(kViewProps.back(), Prop::Visible) << "a control shows once it is placed and filled";
}

TEST(FormLinkViews, LoadedControlsComeAndGoWithTheirViews) {
    Form frm("frmTest");
    Menu& file = frm.add<Menu>("mnuFile");
    frm.add<Menu>("mnuP1", &file, 0);
    TestWindow window(frm);
    Menu& loaded = frm.loadMenuElement("mnuP1", 1);
    ASSERT_NE(window.viewOf(&loaded), nullptr);
    frm.setCaption("Renamed");
    EXPECT_EQ(window.windowProps.back(), Prop::Caption);
    frm.unloadElement("mnuP1", 1);
    EXPECT_EQ(window.released, std::vector<std::string>{"mnuP1 detached"});
    EXPECT_EQ(window.viewOf(&loaded), nullptr);
}

// Behind a window in the tray figures change every tick: the title and each control's
// caption wait and are shown once, as the window is about to show; menus (the tray's)
// never wait.
TEST(FormLinkViews, CaptionsWaitBehindAHiddenWindowAndShowOnceAsItShows) {
    Form frm("frmTest");
    Label& label = frm.add<Label>("lblA");
    Menu& file = frm.add<Menu>("mnuFile");
    TestWindow window(frm);
    window.windowProps.clear();
    window.hidden = true;
    frm.setCaption("One");
    frm.setCaption("Two");
    EXPECT_TRUE(window.windowProps.empty());
    EXPECT_TRUE(window.holdsCaption(label));
    EXPECT_TRUE(window.holdsCaption(label));
    EXPECT_FALSE(window.holdsCaption(file));
    window.hidden = false;
    window.showHeldCaptions();
    EXPECT_EQ(window.windowProps, std::vector<Prop>{Prop::Caption});
    EXPECT_EQ(window.viewOf(&label)->heldShown, 1);
    EXPECT_EQ(window.viewOf(&file)->heldShown, 0);
    window.showHeldCaptions();
    EXPECT_EQ(window.windowProps.size(), 1u) << "shown once";
    EXPECT_EQ(window.viewOf(&label)->heldShown, 1);
    EXPECT_FALSE(window.holdsCaption(label));
    frm.setCaption("Three");
    EXPECT_EQ(window.windowProps.size(), 2u) << "a shown window follows at once";
}

TEST(FormLinkActions, TheCloseBoxAsksTheFormAndHidesItOnlyWhenAllowed) {
    Form frm("frmTest");
    std::vector<int> modes;
    int cancel = 1;
    frm.onQueryUnload = [&](int& c, int mode) {
        modes.push_back(mode);
        c = cancel;
    };
    TestWindow window(frm);
    frm.show();
    window.closeBox();
    EXPECT_TRUE(frm.visible());
    cancel = 0;
    window.closeBox();
    EXPECT_FALSE(frm.visible());
    window.sessionEnds();
    window.sessionEnds();
    EXPECT_EQ(modes, (std::vector<int>{0, 0, 2})) << "the session's end asks once";

    frm.onQueryUnload = [](int&, int) { throw std::runtime_error("broken handler"); };
    frm.show();
    EXPECT_NO_THROW(window.closeBox());
    EXPECT_TRUE(frm.visible());
    EXPECT_EQ(window.strays, std::vector<std::string>{"frmTest: broken handler"});
}

TEST(FormLinkActions, TheUsersMinimiseAndRestoreReachTheModel) {
    Form frm("frmTest");
    TestWindow window(frm);
    window.userChangedState(WindowState::Minimized, true);
    EXPECT_EQ(frm.windowState(), WindowState::Minimized);
    EXPECT_FALSE(frm.visible()) << "minimising shows nothing";
    window.userChangedState(WindowState::Normal, false);
    EXPECT_FALSE(frm.visible()) << "not on screen: the model stays hidden";
    window.userChangedState(WindowState::Maximized, true);
    EXPECT_EQ(frm.windowState(), WindowState::Maximized);
    EXPECT_TRUE(frm.visible()) << "a window brought back by hand is visible";

    // What the window system reports while the window follows the model is no user action.
    window.echo = [&] { window.userChangedState(WindowState::Minimized, true); };
    frm.setWindowState(WindowState::Normal);
    EXPECT_EQ(frm.windowState(), WindowState::Normal);
}

TEST(FormLinkActions, ShowingFromOutsideRestoresAMinimisedHiddenForm) {
    Form frm("frmTest");
    TestWindow window(frm);
    frm.setWindowState(WindowState::Minimized);
    window.showFromOutside();
    EXPECT_TRUE(frm.visible());
    EXPECT_EQ(frm.windowState(), WindowState::Normal);
    frm.setWindowState(WindowState::Maximized);
    window.showFromOutside();
    EXPECT_EQ(frm.windowState(), WindowState::Maximized) << "only a minimised window is restored";

    HeadlessHost host;
    Form other("frmOther");
    other.setWindowState(WindowState::Minimized);
    host.showFromOutside(other);
    EXPECT_TRUE(other.visible());
    EXPECT_EQ(other.windowState(), WindowState::Normal);
    EXPECT_EQ(host.foregroundCalls, 1) << "and raised";
}

TEST(FormLinkActions, MouseMovesArriveInTwipsAndTrayClicksAsReported) {
    Form frm("frmTest");
    TestWindow window(frm, TwipScale{120, 96});
    window.mouseMoved(0, 0, 10, 10);  // no handler: nothing happens
    std::vector<double> xs, ys;
    frm.onMouseMove = [&](int button, int shift, double x, double y) {
        EXPECT_EQ(button + shift, 3);
        xs.push_back(x);
        ys.push_back(y);
    };
    window.mouseMoved(1, 2, 10, 10);
    EXPECT_EQ(xs.back(), 120);
    EXPECT_EQ(ys.back(), 150);
    window.mouseMoved(1, 2, 515, 0);
    EXPECT_DOUBLE_EQ(xs.back() / window.scale().twipsPerPixelX(), 515) << "x in pixels comes back whole";

    window.trayActivated({TrayActivation::Double, TrayKind::ClickThenDoubleClick});  // no handler
    std::vector<TrayActivation> clicks;
    frm.onTrayActivated = [&](TrayEvent event) {
        EXPECT_EQ(event.tray, TrayKind::SingleActivationOnly);
        clicks.push_back(event.activation);
    };
    window.trayActivated({TrayActivation::Single, TrayKind::SingleActivationOnly});
    window.trayActivated({TrayActivation::Context, TrayKind::SingleActivationOnly});
    EXPECT_EQ(clicks, (std::vector<TrayActivation>{TrayActivation::Single, TrayActivation::Context}));
}

TEST(FormLinkPictures, TheImageListOfTheForm) {
    Form frm("frmTest");
    EXPECT_TRUE(imageListPictures(frm).empty());
    frm.add<ImageList>("imlIcons").resources = {"exe", "folder"};
    EXPECT_EQ(imageListPictures(frm), (std::vector<std::string>{"exe", "folder"}));
}

}  // namespace
}  // namespace qm
