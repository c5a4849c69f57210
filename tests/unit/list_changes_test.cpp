// Lists announce each change of their entries so that views apply just that change.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "base/app_error.h"
#include "forms/form.h"
#include "forms/list_follower.h"
#include "support/error_of.h"

namespace qm {
namespace {

using Kind = ListChange::Kind;
using test::errorOf;

// A view's own copy of the entries, kept only through the follower's calls.
struct ReplayingView : EntrySink {
    explicit ReplayingView(const ListControl& list) : list(list) {}
    void entryAdded(int i) override { rows.insert(rows.begin() + i, list.list(i)); ++steps; }
    void entryRemoved(int i) override { rows.erase(rows.begin() + i); ++steps; }
    void entriesCleared() override { rows.clear(); ++steps; }
    void entryReplaced(int i) override { rows.at(static_cast<size_t>(i)) = list.list(i); ++steps; }
    void entriesReloaded() override { rows = list.items(); ++reloads; }
    const ListControl& list;
    std::vector<std::string> rows;
    int steps = 0;
    int reloads = 0;
};

struct ListChangesTest : ::testing::Test {
    ListChangesTest() {
        list.subscribe([this](Control&, Prop p) {
            if (p == Prop::Items) notices.push_back(list.lastChange());
        });
    }
    Form frm{"frmTest"};
    ListBox& list = frm.add<ListBox>("lstA");
    std::vector<ListChange> notices;
};

TEST_F(ListChangesTest, EachCallAnnouncesExactlyWhatItChanged) {
    list.addItem("a");
    list.addItem("b");
    list.addItem("c");
    list.setList(1, "B");
    list.setList(1, "B");  // the same text again changes nothing
    list.removeItem(0);
    list.clear();
    list.addItem("d");
    const std::vector<ListChange> expected = {{Kind::Added, 0},    {Kind::Added, 1},   {Kind::Added, 2},
                                              {Kind::Replaced, 1}, {Kind::Removed, 0}, {Kind::Cleared, -1},
                                              {Kind::Added, 0}};
    EXPECT_EQ(notices, expected);
    EXPECT_EQ(list.revision(), expected.size());
    EXPECT_EQ(list.items(), (std::vector<std::string>{"d"}));
}

TEST_F(ListChangesTest, FailedCallsAnnounceNothing) {
    list.addItem("a");
    EXPECT_EQ(errorOf([&] { list.setList(1, "x"); }), 381);
    EXPECT_EQ(errorOf([&] { list.setList(-1, "x"); }), 381);
    EXPECT_EQ(errorOf([&] { list.removeItem(1); }), errInvalidCall);
    EXPECT_EQ(notices.size(), 1u);
    EXPECT_EQ(list.list(0), "a");
}

// Replacing an entry's text is no selection: no Click, and the selection stays on it.
TEST_F(ListChangesTest, ReplacingTextKeepsSelectionWithoutClick) {
    int clicks = 0;
    list.onClick = [&] { ++clicks; };
    list.addItem("2 MB");
    list.addItem("4 MB");
    list.setListIndex(1);
    list.setList(1, "8 MB");
    list.setList(0, "1 MB");
    EXPECT_EQ(clicks, 1);
    EXPECT_EQ(list.listIndex(), 1);
    EXPECT_EQ(list.text(), "8 MB");
}

TEST_F(ListChangesTest, AFollowingViewEndsEqualToTheListWithOneStepPerChange) {
    for (const char* t : {"x", "y"}) list.addItem(t);  // before the view exists
    ReplayingView view(list);
    ListFollower follower;
    list.subscribe([&](Control&, Prop p) {
        if (p == Prop::Items) follower.catchUp(list, view);
    });
    follower.catchUp(list, view);  // the view's first look
    EXPECT_EQ(view.reloads, 1);
    EXPECT_EQ(view.rows, list.items());

    int changes = 0;
    for (int i = 0; i < 40; ++i, ++changes) list.addItem("entry " + std::to_string(i));
    for (int i = 0; i < 10; ++i, ++changes) list.removeItem((i * 7) % list.listCount());
    for (int i = 0; i < 5; ++i, ++changes) list.setList(i * 3, "changed " + std::to_string(i));
    list.removeItem(list.listCount() - 1), ++changes;
    EXPECT_EQ(view.rows, list.items());
    list.clear(), ++changes;
    list.addItem("last"), ++changes;
    EXPECT_EQ(view.rows, list.items());
    EXPECT_EQ(view.steps, changes);
    EXPECT_EQ(view.reloads, 1);
    follower.catchUp(list, view);  // a repeated notice of the same change does nothing
    EXPECT_EQ(view.steps, changes);
}

// A handler that changes the list while its notice is on its way makes the later listeners
// see two changes at once: they reload rather than apply one of them.
TEST_F(ListChangesTest, AViewThatMissedAChangeReloads) {
    list.subscribe([&](Control&, Prop p) {
        if (p == Prop::Items && list.listCount() == 1) list.addItem("added by a handler");
    });
    ReplayingView view(list);
    ListFollower follower;
    follower.catchUp(list, view);
    list.subscribe([&](Control&, Prop p) {
        if (p == Prop::Items) follower.catchUp(list, view);
    });
    list.addItem("first");
    EXPECT_EQ(view.rows, (std::vector<std::string>{"first", "added by a handler"}));
    EXPECT_EQ(view.reloads, 2);
    follower.reset();
    list.addItem("third");
    EXPECT_EQ(view.reloads, 3);
    EXPECT_EQ(view.rows, list.items());
}

TEST(FormChildren, KeepDeclarationOrderThroughLoadsAndUnloads) {
    Form frm("frmTest");
    Menu& file = frm.add<Menu>("mnuFile");
    Menu& programs = frm.add<Menu>("mnuPrograms", &file);
    frm.add<Menu>("mnuP1", &programs, 0);
    Menu& exit = frm.add<Menu>("mnuExit", &file);
    frm.add<Menu>("mnuHelp");
    frm.loadMenuElement("mnuP1", 2);
    frm.loadMenuElement("mnuP1", 1);
    auto names = [&](const Control* parent) {
        std::vector<std::string> seen;
        for (Control* c : frm.childrenOf(parent)) seen.push_back(c->name() + std::to_string(c->index()));
        return seen;
    };
    EXPECT_EQ(names(&programs), (std::vector<std::string>{"mnuP10", "mnuP11", "mnuP12"}));
    EXPECT_EQ(names(nullptr), (std::vector<std::string>{"mnuFile-1", "mnuHelp-1"}));
    frm.unloadElement("mnuP1", 1);
    EXPECT_EQ(names(&programs), (std::vector<std::string>{"mnuP10", "mnuP12"}));
    EXPECT_EQ(names(&file), (std::vector<std::string>{"mnuPrograms-1", "mnuExit-1"}));
    EXPECT_TRUE(frm.childrenOf(&exit).empty());
    // The form's whole order agrees with the children's.
    std::vector<std::string> all;
    for (Control* c : frm.controls()) all.push_back(c->name() + std::to_string(c->index()));
    EXPECT_EQ(all, (std::vector<std::string>{"mnuFile-1", "mnuPrograms-1", "mnuP10", "mnuP12", "mnuExit-1",
                                             "mnuHelp-1"}));
}

}  // namespace
}  // namespace qm
