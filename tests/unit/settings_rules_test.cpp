// The rules by which a loader applies stored text to a control.
#include <gtest/gtest.h>

#include "settings/load_rules.h"
#include "support/error_of.h"
#include "support/fake_platform.h"

namespace qm {
namespace {

using test::errorOf;

struct ListCase {
    const char* rule;
    const char* v;
    int start;     // selection before the rule runs
    int expected;  // selection after
    int error;     // number raised (0 none)
};

void apply(const std::string& rule, ListControl& list, const std::string& v) {
    if (rule == "A") applyRuleA(list, v);
    if (rule == "B") applyRuleB(list, v);
    if (rule == "C") applyRuleC(list, v);
    if (rule == "D") applyRuleD(list, v);
    if (rule == "I") applyRuleI(list, v);
}

class ListRule : public ::testing::TestWithParam<ListCase> {};

TEST_P(ListRule, SelectsOrRefuses) {
    const ListCase& c = GetParam();
    Form frm("frmMain");
    ListBox& list = frm.add<ListBox>("lst");
    for (int i = 0; i < (std::string(c.rule) == "I" ? 8 : 3); ++i) list.addItem(std::to_string(i));
    list.setListIndex(c.start);
    int clicks = 0;
    list.onClick = [&] { ++clicks; };
    EXPECT_EQ(errorOf([&] { apply(c.rule, list, c.v); }), c.error);
    EXPECT_EQ(list.listIndex(), c.expected);
    EXPECT_EQ(clicks, c.start == c.expected ? 0 : 1) << "the control's click runs exactly on a change";
}

INSTANTIATE_TEST_SUITE_P(Rules, ListRule, ::testing::Values(
    // A: below the count selects; at or above it, or not a number, leaves the list silently.
    ListCase{"A", "2", 0, 2, 0}, ListCase{"A", "3", 0, 0, 0}, ListCase{"A", "-1", 0, -1, 0},
    ListCase{"A", "-2", 0, 0, 380}, ListCase{"A", "abc", 0, 0, 0}, ListCase{"A", "", 1, 1, 0},
    ListCase{"A", "99999", 0, 0, 6}, ListCase{"A", "1.5", 0, 2, 0}, ListCase{"A", "2.5", 0, 2, 0},
    // B: numbers outside -1..count-1 are refused; other text ignored.
    ListCase{"B", "2", 0, 2, 0}, ListCase{"B", "3", 0, 0, 380}, ListCase{"B", "abc", 1, 1, 0},
    ListCase{"B", "-1", 0, -1, 0},
    // C: no test of the text at all.
    ListCase{"C", "1", 0, 1, 0}, ListCase{"C", "abc", 0, 0, 13}, ListCase{"C", "", 2, 2, 13},
    ListCase{"C", "3", 0, 0, 380}, ListCase{"C", "40000", 1, 1, 6},
    // D: text that is no number selects the first entry.
    ListCase{"D", "x", 2, 0, 0}, ListCase{"D", "1", -1, 1, 0}, ListCase{"D", "25", -1, -1, 380},
    // I: exact text of the stored intervals; anything else is the first entry.
    ListCase{"I", "1.5", -1, 0, 0}, ListCase{"I", "3", -1, 1, 0}, ListCase{"I", "600", -1, 7, 0},
    ListCase{"I", "90", 3, 0, 0}, ListCase{"I", "1,5", 3, 0, 0}, ListCase{"I", "3.0", 3, 0, 0}));

TEST(CheckRule, NumbersSetTheStateOtherTextIsIgnored) {
    Form frm("frmMain");
    CheckBox& box = frm.add<CheckBox>("chk");
    EXPECT_EQ(errorOf([&] { applyRuleE(box, "1"); }), 0);
    EXPECT_EQ(box.value(), 1);
    EXPECT_EQ(errorOf([&] { applyRuleE(box, "2"); }), 0);
    EXPECT_EQ(box.value(), 2);
    EXPECT_EQ(errorOf([&] { applyRuleE(box, "abc"); }), 0);
    EXPECT_EQ(box.value(), 2);
    EXPECT_EQ(errorOf([&] { applyRuleE(box, "3"); }), 380);
    EXPECT_EQ(errorOf([&] { applyRuleE(box, "-1"); }), 380);
    EXPECT_EQ(box.value(), 2);
}

class OptionRule : public ::testing::Test {
protected:
    OptionRule() {
        Frame& group = frm.add<Frame>("fm");
        for (int i = 0; i < 3; ++i) frm.add<OptionButton>("opt", &group, i);
    }
    int selected() {
        for (int i = 0; i < 3; ++i) {
            if (frm.element<OptionButton>("opt", i).value()) return i;
        }
        return -1;
    }
    Form frm{"frmMain"};
};

TEST_F(OptionRule, FSelectsTheButtonOrRefusesAMissingOne) {
    EXPECT_EQ(errorOf([&] { applyRuleF(frm, "opt", "abc", true); }), 0);
    EXPECT_EQ(selected(), -1);
    EXPECT_EQ(errorOf([&] { applyRuleF(frm, "opt", "abc", false); }), 13);
    EXPECT_EQ(errorOf([&] { applyRuleF(frm, "opt", "3", true); }), 340);
    EXPECT_EQ(errorOf([&] { applyRuleF(frm, "opt", "-1", false); }), 340);
    EXPECT_EQ(selected(), -1) << "a refused index selects no button";
    EXPECT_EQ(errorOf([&] { applyRuleF(frm, "opt", "1", false); }), 0);
    EXPECT_EQ(selected(), 1);
}

TEST_F(OptionRule, GMapsNumbersToThreeOptionsAndRefusesText) {
    test::RecordingSink log;
    Trap t(log, "frmMain,loadStartup");
    const std::pair<const char*, int> cases[] = {{"7", 2}, {"0", 0}, {"1", 1}, {"0.5", 2}, {"-1", 2}, {"1", 1}};
    for (const auto& [v, expected] : cases) {
        applyRuleG(t, frm, "opt", v);
        EXPECT_EQ(selected(), expected) << v;
    }
    EXPECT_TRUE(log.entries.empty());
    applyRuleG(t, frm, "opt", "abc");
    EXPECT_EQ(selected(), 0) << "refused text still selects the first option";
    ASSERT_EQ(log.entries.size(), 1u);
    EXPECT_EQ(log.entries[0].number, 13);
}

}  // namespace
}  // namespace qm
