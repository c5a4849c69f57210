#include <gtest/gtest.h>

#include <functional>
#include <stdexcept>

#include "base/app_error.h"
#include "support/error_of.h"
#include "forms/form.h"
#include "forms/headless_host.h"
#include "forms/picture_box.h"

namespace qm {
namespace {

using test::errorOf;

TEST(ListControls, ClickOnlyOnChangeAndIndexChecked) {
    Form frm("frmTest");
    ListBox& list = frm.add<ListBox>("lstA");
    int clicks = 0;
    list.onClick = [&] { ++clicks; };
    list.addItem("2 MB");
    list.addItem("4 MB");
    list.setListIndex(1);
    list.setListIndex(1);
    EXPECT_EQ(clicks, 1);
    EXPECT_EQ(list.text(), "4 MB");
    EXPECT_EQ(errorOf([&] { list.setListIndex(2); }), errInvalidPropertyValue);
    EXPECT_EQ(errorOf([&] { list.setListIndex(-2); }), errInvalidPropertyValue);
    EXPECT_EQ(list.listIndex(), 1);
    list.setListIndex(-1);
    EXPECT_EQ(clicks, 2);
    EXPECT_EQ(list.text(), "");
    list.userSelect(0);
    EXPECT_EQ(clicks, 3);
    list.clear();
    EXPECT_EQ(list.listIndex(), -1);
    EXPECT_EQ(list.listCount(), 0);
    EXPECT_EQ(clicks, 3);
}

TEST(ListControls, RemovingKeepsTheSelectionOnItsEntry) {
    Form frm("frmTest");
    ListBox& list = frm.add<ListBox>("lstA");
    for (const char* t : {"a", "b", "c"}) list.addItem(t);
    list.setListIndex(2);
    list.removeItem(0);
    EXPECT_EQ(list.text(), "c");
    list.removeItem(1);
    EXPECT_EQ(list.listIndex(), -1);
    EXPECT_EQ(errorOf([&] { list.removeItem(5); }), errInvalidCall);
}

TEST(CheckBoxes, ValueRulesAndUserToggle) {
    Form frm("frmTest");
    CheckBox& box = frm.add<CheckBox>("chkA");
    int clicks = 0;
    box.onClick = [&] { ++clicks; };
    box.setValue(0);
    EXPECT_EQ(clicks, 0);
    box.setValue(2);
    EXPECT_EQ(clicks, 1);
    EXPECT_EQ(errorOf([&] { box.setValue(3); }), errInvalidPropertyValue);
    EXPECT_EQ(box.value(), 2);
    box.userClick();
    EXPECT_EQ(box.value(), 1);
    box.setEnabled(false);
    box.userClick();
    EXPECT_EQ(box.value(), 1);
    EXPECT_EQ(clicks, 2);
}

TEST(OptionButtons, OneSelectedPerContainerWithIndexedClick) {
    Form frm("frmTest");
    Frame& group = frm.add<Frame>("fmA");
    Frame& other = frm.add<Frame>("fmB");
    OptionButton& lone = frm.add<OptionButton>("optLone", &other);
    std::vector<int> clicked;
    for (int i = 0; i < 3; ++i) frm.add<OptionButton>("optA", &group, i).onClick = [&](int k) { clicked.push_back(k); };
    lone.setValue(true);
    frm.element<OptionButton>("optA", 1).setValue(true);
    frm.element<OptionButton>("optA", 2).userClick();
    frm.element<OptionButton>("optA", 2).setValue(true);
    EXPECT_EQ(clicked, (std::vector<int>{1, 2}));
    EXPECT_FALSE(frm.element<OptionButton>("optA", 1).value());
    EXPECT_TRUE(lone.value());  // another container is another group
    EXPECT_EQ(errorOf([&] { frm.element<OptionButton>("optA", 3); }), errNoControlArrayElement);
}

// A name asked for as another class than it was declared with is a clear fault naming
// both, never a cast into the wrong object; a class above it (ListControl, Clickable) fits.
TEST(Lookups, AControlOfTheWrongClassIsRefusedByName) {
    Form frm("frmTest");
    frm.add<ListBox>("lstItems");
    frm.add<Menu>("mnuItem", nullptr, 0);
    constexpr ControlName<ListBox> lstItems{"lstItems"};
    EXPECT_EQ(&frm.get(lstItems), &frm.get<ListControl>("lstItems"));
    EXPECT_NO_THROW(frm.get<Control>("lstItems"));
    EXPECT_NO_THROW(frm.element<Clickable>("mnuItem", 0));
    struct Wrong {
        std::function<void()> lookup;
        const char* message;
    };
    const Wrong cases[] = {
        {[&] { frm.get<CheckBox>("lstItems"); }, "control lstItems is a ListBox, not a CheckBox"},
        {[&] { frm.get<ComboBox>("lstItems"); }, "control lstItems is a ListBox, not a ComboBox"},
        {[&] { frm.get<Clickable>("lstItems"); }, "control lstItems is a ListBox, not a Clickable"},
        {[&] { frm.element<ListControl>("mnuItem", 0); }, "control mnuItem is a Menu, not a ListControl"},
        {[&] { frm.get<ListBox>("lstMissing"); }, "no control named lstMissing"},
    };
    for (const Wrong& c : cases) {
        try {
            c.lookup();
            ADD_FAILURE() << c.message;
        } catch (const std::logic_error& e) {
            EXPECT_STREQ(e.what(), c.message);
        }
    }
    frm.add<ListBox>("lstArray", nullptr, 0);
    EXPECT_THROW(frm.loadMenuElement("lstArray", 1), std::logic_error) << "a list array is no menu array";
}

TEST(MenuArrays, LoadAndUnloadRunTimeElements) {
    Form frm("frmTest");
    Menu& parent = frm.add<Menu>("mnuPrograms");
    frm.add<Menu>("mnuP1", &parent, 0).setCaption("first");
    Menu& second = frm.loadMenuElement("mnuP1", 1);
    EXPECT_EQ(second.caption(), "first");
    EXPECT_FALSE(second.visible());
    EXPECT_EQ(second.parent(), &parent);
    frm.loadMenuElement("mnuP1", 2);
    EXPECT_EQ(frm.elementIndexes("mnuP1"), (std::vector<int>{0, 1, 2}));
    EXPECT_EQ(errorOf([&] { frm.loadMenuElement("mnuP1", 2); }), 360);
    frm.unloadElement("mnuP1", 1);
    EXPECT_EQ(frm.elementIndexes("mnuP1"), (std::vector<int>{0, 2}));
    EXPECT_EQ(errorOf([&] { frm.unloadElement("mnuP1", 0); }), 362);
    EXPECT_EQ(errorOf([&] { frm.unloadElement("mnuP1", 7); }), errNoControlArrayElement);
}

TEST(Observers, HostsSeeEveryChangeOnce) {
    Form frm("frmTest");
    Label& label = frm.add<Label>("lblA");
    std::vector<Prop> seen;
    label.subscribe([&](Control&, Prop p) { seen.push_back(p); });
    label.setCaption("x");
    label.setCaption("x");
    label.setVisible(false);
    label.setForeColor(rgb(0, 0, 255));
    EXPECT_EQ(seen, (std::vector<Prop>{Prop::Caption, Prop::Visible, Prop::ForeColor}));
    std::vector<std::string> added;
    frm.subscribe([&](Control& c, Prop p) { if (p == Prop::ChildAdded) added.push_back(c.name()); });
    frm.add<Label>("lblB");
    EXPECT_EQ(added, (std::vector<std::string>{"lblB"}));
}

TEST(VirtualClock, TimersFireInDueOrderWithoutDriftOrBursts) {
    HeadlessHost host;
    Form frm("frmTest");
    Timer& fast = frm.add<Timer>("tmrFast");
    Timer& slow = frm.add<Timer>("tmrSlow");
    std::vector<std::string> fired;
    fast.onTimer = [&] { fired.push_back("fast@" + std::to_string(host.elapsedMs())); };
    slow.onTimer = [&] { fired.push_back("slow@" + std::to_string(host.elapsedMs())); };
    host.attach(frm);
    fast.setInterval(1000);
    slow.setInterval(2000);
    fast.setEnabled(true);
    slow.setEnabled(true);
    host.advance(4000);
    EXPECT_EQ(fired, (std::vector<std::string>{"fast@1000", "fast@2000", "slow@2000", "fast@3000", "fast@4000",
                                               "slow@4000"}));
}

TEST(VirtualClock, DisablingStopsAndReenablingRestartsTheCount) {
    HeadlessHost host;
    Form frm("frmTest");
    Timer& timer = frm.add<Timer>("tmrA");
    int ticks = 0;
    timer.onTimer = [&] {
        ++ticks;
        if (ticks == 2) timer.setEnabled(false);
    };
    host.attach(frm);
    timer.setInterval(1000);
    timer.setEnabled(true);
    host.advance(5000);
    EXPECT_EQ(ticks, 2);
    host.advance(500);
    timer.setEnabled(true);
    host.advance(999);
    EXPECT_EQ(ticks, 2);
    host.advance(1);
    EXPECT_EQ(ticks, 3);
}

TEST(VirtualClock, ALongHandlerDoesNotCauseABurstNorReenters) {
    HeadlessHost host;
    Form frm("frmTest");
    Timer& timer = frm.add<Timer>("tmrA");
    int ticks = 0, depth = 0, maxDepth = 0;
    timer.onTimer = [&] {
        ++ticks;
        maxDepth = std::max(maxDepth, ++depth);
        if (ticks == 1) {
            for (int i = 0; i < 350; ++i) host.doEvents();  // 3.5 s of events while in the handler
        }
        --depth;
    };
    host.attach(frm);
    timer.setInterval(1000);
    timer.setEnabled(true);
    host.advance(1000);
    EXPECT_EQ(ticks, 1);
    EXPECT_EQ(maxDepth, 1);
    host.advance(1000);  // now 5.5 s: one tick, not three
    EXPECT_EQ(ticks, 2);
}

TEST(HeadlessHost, ScriptedDialogsAreRecorded) {
    HeadlessHost host;
    Form frm("frmTest");
    host.messageAnswers.push_back(vbYes);
    EXPECT_EQ(host.msgBox("Disable the warning?", vbYesNo + vbQuestion, "Quillmere"), vbYes);
    EXPECT_EQ(host.msgBox("Again?", vbYesNo + vbQuestion, "Quillmere"), vbNo);
    EXPECT_EQ(host.msgBox("Note", vbInformation, "Quillmere"), vbOK);
    ASSERT_EQ(host.messages.size(), 3u);
    EXPECT_EQ(host.messages[0].style, vbYesNo + vbQuestion);
    host.dialogAnswers.push_back(std::string("C:\\x.exe"));
    EXPECT_EQ(host.showOpenDialog(frm, "EXE Files (*.exe)|*.exe", cdlOFNFileMustExist), "C:\\x.exe");
    EXPECT_EQ(host.showOpenDialog(frm, "EXE Files (*.exe)|*.exe", cdlOFNFileMustExist), std::nullopt);
    EXPECT_EQ(host.dialogs[1].flags, cdlOFNFileMustExist);
    const uint32_t before = host.tickCount();
    host.doEvents();
    EXPECT_EQ(host.tickCount() - before, 10u);
}

TEST(PictureBoxes, TwipScaleBorderAndBackgroundPicture) {
    Form frm("frmTest");
    PictureBox& graph = frm.add<PictureBox>("picA");
    graph.move(0, 0, 5535, 1095);
    graph.setBorder(true);
    EXPECT_EQ(graph.clientWidthPx(), 365);
    EXPECT_EQ(graph.clientHeightPx(), 69);
    PictureBox& bar = frm.add<PictureBox>("picB");
    bar.move(0, 0, 3500, 255);
    bar.setBackColor(rgb(224, 224, 224));
    bar.cls();
    bar.line(60, 255, 60, 0, rgb(85, 173, 247));  // twips: pixel column 4, rows 16..1
    EXPECT_EQ(bar.image().pixel(4, 16), rgb(85, 173, 247));
    EXPECT_EQ(bar.image().pixel(4, 1), rgb(85, 173, 247));
    EXPECT_EQ(bar.image().pixel(4, 0), rgb(224, 224, 224));
    Canvas grid(365, 69, rgb(0, 0, 0));
    grid.setPixel(20, 5, rgb(0, 128, 0));
    graph.setScaleMode(ScaleMode::Pixels);
    graph.setPicture(grid);
    graph.line(0, 0, 10, 0, rgb(0, 255, 0));
    graph.cls();
    EXPECT_EQ(graph.image(), grid);
    EXPECT_EQ(pictureFromFileBytes(pictureFileBytes(grid)), grid);
    EXPECT_EQ(errorOf([] { pictureFromFileBytes("not a bitmap"); }), 481);
}

// Drawing nobody sees and nothing keeps is skipped where a Paint handler will draw it anew.
TEST(PictureBoxes, DrawingOffScreenIsSkippedOnlyWhereItWouldBeLostAndRedrawn) {
    Form frm("frmTest");
    PictureBox& graph = frm.add<PictureBox>("picA");
    graph.move(0, 0, 1500, 750);
    graph.setScaleMode(ScaleMode::Pixels);
    graph.cls();
    const Canvas blank = graph.image();
    int paints = 0;
    graph.onPaint = [&] {
        ++paints;
        graph.cls();
        graph.line(0, 10, 100, 10, rgb(0, 255, 0));
    };
    graph.setOnScreen(false);
    graph.line(0, 20, 100, 20, rgb(255, 0, 0));
    graph.cls();
    EXPECT_EQ(graph.image(), blank);
    graph.setOnScreen(true);
    graph.raisePaint();
    EXPECT_EQ(paints, 1);
    EXPECT_EQ(graph.image().pixel(50, 10), rgb(0, 255, 0));
    // Kept drawing (AutoRedraw) and surfaces nothing redraws are drawn on, seen or not.
    graph.setOnScreen(false);
    graph.setAutoRedraw(true);
    graph.line(0, 30, 100, 30, rgb(0, 0, 255));
    EXPECT_EQ(graph.image().pixel(50, 30), rgb(0, 0, 255));
    graph.setAutoRedraw(false);
    graph.onPaint = nullptr;
    graph.cls();
    EXPECT_EQ(graph.image(), blank);
}

}  // namespace
}  // namespace qm
