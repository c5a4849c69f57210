// Room for captions that need more than their design box, and the names a screen reader
// gives the controls of every form.
#include <gtest/gtest.h>

#include <string>

#include "app/main_layout.h"
#include "support/program_forms.h"
#include "forms/accessible_name.h"
#include "forms/caption_room.h"
#include "launcher/launcher_layout.h"
#include "update/auto_update_layout.h"

namespace qm {
namespace {

class CaptionRoom : public ::testing::Test {
protected:
    CaptionRoom() { frm.move(0, 0, 6000, 3000); }
    template <class T>
    T& at(const std::string& name, TwipBox box, Control* parent = nullptr) {
        T& c = frm.add<T>(name, parent);
        c.move(box.left, box.top, box.width, box.height);
        return c;
    }
    // A wrapping caption of `length` twips on one line, in lines of 250 twips.
    static std::function<int(int)> wrapping(int length) {
        return [length](int width) { return 250 * ((length + width - 1) / width); };
    }
    Form frm{"frmTest"};
};

TEST_F(CaptionRoom, OneLineGrowsRightUpToTheNextControlOnItsRowOnly) {
    CheckBox& box = at<CheckBox>("chk", {240, 300, 2000, 300});
    at<ComboBox>("cmb", {2500, 270, 900, 315});
    at<Label>("below", {240, 700, 5000, 255});  // another row: no limit
    EXPECT_EQ(fitOneLine(box, 1800), designBox(box));  // fits: the box stays as designed
    EXPECT_EQ(fitOneLine(box, 2200), (TwipBox{240, 300, 2200, 300}));
    EXPECT_EQ(fitOneLine(box, 3000), (TwipBox{240, 300, 2260, 300}));  // stops at the combo
}

TEST_F(CaptionRoom, TheContainersEdgeAndItsBorderStopTheGrowth) {
    Frame& group = at<Frame>("fra", {100, 100, 3000, 1000});
    group.setCaption("Group");
    CheckBox& inside = at<CheckBox>("chk", {120, 300, 2000, 300}, &group);
    at<Label>("outside", {3200, 400, 2000, 255});  // a sibling of the frame, not of the box
    EXPECT_EQ(fitOneLine(inside, 9000).right(), 3000 - 60);
    CheckBox& onForm = at<CheckBox>("chk2", {4000, 2000, 1000, 300});
    EXPECT_EQ(fitOneLine(onForm, 9000).right(), 6000 - 60);
}

TEST_F(CaptionRoom, AWrappedCaptionTakesTheNarrowestWidthThatHoldsItAtItsHeight) {
    Label& label = at<Label>("lbl", {240, 600, 4000, 255});
    at<ListBox>("lst", {4920, 600, 900, 840});
    EXPECT_EQ(fitWrapped(label, wrapping(4000)), designBox(label));
    const TwipBox grown = fitWrapped(label, wrapping(4100));
    EXPECT_GE(grown.width, 4100);
    EXPECT_LT(grown.width, 4100 + 15);
    EXPECT_EQ(grown.height, 255);
}

TEST_F(CaptionRoom, WithoutRoomBesideItAWrappedCaptionGrowsDownToTheControlBelow) {
    Label& label = at<Label>("lbl", {240, 600, 4000, 255});
    at<ListBox>("lst", {4400, 600, 900, 840});
    at<Label>("next", {240, 1200, 4000, 255});
    TwipBox box = fitWrapped(label, wrapping(9000));  // three lines at the widest width
    EXPECT_EQ(box.width, 4160);
    EXPECT_EQ(box.height, 600);  // wanted 750, the next label starts at 1200
    box = fitWrapped(label, wrapping(6000));
    EXPECT_EQ(box.height, 500);
}

TEST_F(CaptionRoom, SiblingsDesignedToOverlapTheBoxDoNotStopIt) {
    at<Image>("banner", {0, 0, 6000, 1200});
    Label& title = at<Label>("title", {1000, 100, 3000, 600});
    EXPECT_EQ(fitOneLine(title, 4000).width, 4000);
}

TEST(AccessibleNames, ListsAndPicturesTakeTheCaptionOfTheLabelDeclaredBeforeThem) {
    Form frm("frmMain");
    declareMainLayout(frm);
    EXPECT_EQ(accessibleName(frm.get<ListBox>("lstRam")), "Amount of RAM to release");
    EXPECT_EQ(accessibleName(frm.get<ComboBox>("cmbAutoCPU")), "Don't perform auto freeup unless CPU usage is below");
    EXPECT_EQ(accessibleName(frm.get<PictureBox>("picPhysical")), "Available Physical Memory Graph");
    EXPECT_EQ(accessibleName(frm.get<ComboBox>("cmbRetry")), "Number of Retrys");  // the frame, not "Try"
    EXPECT_EQ(accessibleName(frm.get<CheckBox>("chkLowLevel")), "Resources Warning");
    // A description of its own wins over the label declared right before it.
    frm.get<Label>("lblVPercent").setCaption("97% Available");
    EXPECT_EQ(accessibleName(frm.get<PictureBox>("picCPU")), "CPU usage graph");
}

TEST(AccessibleNames, CaptionedControlsReadTheirOwnCaptionWithoutAccessKeys) {
    Form frm("frmMain");
    declareMainLayout(frm);
    EXPECT_EQ(accessibleName(frm.get<CommandButton>("cmdHide")), "Hide");
    EXPECT_EQ(borrowedName(frm.get<CommandButton>("cmdHide")), "");
    EXPECT_EQ(accessibleName(frm.get<Label>("lblAutoTimeOnly")), "(Auto & Time Only");
    EXPECT_EQ(withoutAccessKeys("&Save && Close"), "Save & Close");
    Label& unlabelled = frm.add<Label>("lblLoose");
    EXPECT_EQ(borrowedName(unlabelled), "");  // a label never borrows another's caption
}

// Every list, drop-down, picture and graph of every form can be told apart by ear.
TEST(AccessibleNames, EveryListComboAndPictureOfEveryFormHasAName) {
    Form main("frmMain"), launcher("frmLauncher"), update("frmAutoUpdate");
    declareMainLayout(main);
    declareLauncherLayout(launcher);
    declareAutoUpdateLayout(update);
    for (const Form* frm : {&main, &launcher, &update}) {
        for (const Control* c : frm->controls()) {
            switch (c->kind()) {
                case ControlKind::ListBox:
                case ControlKind::ComboBox:
                case ControlKind::PictureBox:
                case ControlKind::Image:
                case ControlKind::ListView:
                case ControlKind::TabStrip:
                    EXPECT_NE(borrowedName(*c), "") << frm->name() << "." << c->name();
                    break;
                default: break;
            }
        }
    }
}

}  // namespace
}  // namespace qm

namespace qm {
namespace {

bool captioned(const Control& c) {
    switch (c.kind()) {
        case ControlKind::Label:
        case ControlKind::CheckBox:
        case ControlKind::OptionButton:
        case ControlKind::CommandButton: return !c.caption().empty();
        case ControlKind::PictureBox:
        case ControlKind::ListBox:
        case ControlKind::ComboBox: return true;
        default: return false;
    }
}

bool overlap(const Control& a, const Control& b) {
    const TwipBox x = designBox(a), y = designBox(b);
    return x.left < y.right() && y.left < x.right() && x.top < y.bottom() && y.top < x.bottom();
}

// Loaded, with the graph scales placed at their lines: no caption lies on another control
// of its page (a title on a scale's text, a label on a graph).
TEST(LoadedLayout, NoCaptionLiesOnAnotherControl) {
    HeadlessHost host;
    test::ProgramForms forms(host);
    const Form& frm = forms.main.form();
    int pairs = 0;
    for (const Control* a : frm.controls()) {
        if (!captioned(*a) || a->kind() == ControlKind::PictureBox) continue;
        for (const Control* b : frm.childrenOf(a->parent())) {
            if (b == a || !captioned(*b) || !a->visible() || !b->visible()) continue;
            ++pairs;
            EXPECT_FALSE(overlap(*a, *b)) << a->name() << "(" << a->index() << ") \"" << a->caption() << "\" lies on "
                                          << b->name() << "(" << b->index() << ")";
        }
    }
    EXPECT_GT(pairs, 100);
}

}  // namespace
}  // namespace qm
