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
    if (rule == "IfListed") selectEntryIfListed(list, v);
    if (rule == "IfNumeric") selectEntryIfNumeric(list, v);
    if (rule == "Entry") selectEntry(list, v);
    if (rule == "OrFirst") selectEntryOrFirst(list, v);
    if (rule == "GraphInterval") selectGraphInterval(list, v);
}

class ListRule : public ::testing::TestWithParam<ListCase> {};

TEST_P(ListRule, SelectsOrRefuses) {
    const ListCase& c = GetParam();
    Form frm("frmMain");
    ListBox& list = frm.add<ListBox>("lst");
    for (int i = 0; i < (std::string(c.rule) == "GraphInterval" ? 8 : 3); ++i) list.addItem(std::to_string(i));
    list.setListIndex(c.start);
    int clicks = 0;
    list.onClick = [&] { ++clicks; };
    EXPECT_EQ(errorOf([&] { apply(c.rule, list, c.v); }), c.error);
    EXPECT_EQ(list.listIndex(), c.expected);
    EXPECT_EQ(clicks, c.start == c.expected ? 0 : 1) << "the control's click runs exactly on a change";
}

INSTANTIATE_TEST_SUITE_P(Rules, ListRule, ::testing::Values(
    // selectEntryIfListed: below the count selects; at or above it, or not a number, leaves the list silently.
    ListCase{"IfListed", "2", 0, 2, 0}, ListCase{"IfListed", "3", 0, 0, 0}, ListCase{"IfListed", "-1", 0, -1, 0},
    ListCase{"IfListed", "-2", 0, 0, 380}, ListCase{"IfListed", "abc", 0, 0, 0}, ListCase{"IfListed", "", 1, 1, 0},
    ListCase{"IfListed", "99999", 0, 0, 6}, ListCase{"IfListed", "1.5", 0, 2, 0}, ListCase{"IfListed", "2.5", 0, 2, 0},
    // selectEntryIfNumeric: numbers outside -1..count-1 are refused; other text ignored.
    ListCase{"IfNumeric", "2", 0, 2, 0}, ListCase{"IfNumeric", "3", 0, 0, 380}, ListCase{"IfNumeric", "abc", 1, 1, 0},
    ListCase{"IfNumeric", "-1", 0, -1, 0},
    // selectEntry: no test of the text at all.
    ListCase{"Entry", "1", 0, 1, 0}, ListCase{"Entry", "abc", 0, 0, 13}, ListCase{"Entry", "", 2, 2, 13},
    ListCase{"Entry", "3", 0, 0, 380}, ListCase{"Entry", "40000", 1, 1, 6},
    // selectEntryOrFirst: text that is no number selects the first entry.
    ListCase{"OrFirst", "x", 2, 0, 0}, ListCase{"OrFirst", "1", -1, 1, 0}, ListCase{"OrFirst", "25", -1, -1, 380},
    // selectGraphInterval: exact text of the stored intervals; anything else is the first entry.
    ListCase{"GraphInterval", "1.5", -1, 0, 0}, ListCase{"GraphInterval", "3", -1, 1, 0}, ListCase{"GraphInterval", "600", -1, 7, 0},
    ListCase{"GraphInterval", "90", 3, 0, 0}, ListCase{"GraphInterval", "1,5", 3, 0, 0}, ListCase{"GraphInterval", "3.0", 3, 0, 0}));

TEST(CheckRule, NumbersSetTheStateOtherTextIsIgnored) {
    Form frm("frmMain");
    CheckBox& box = frm.add<CheckBox>("chk");
    EXPECT_EQ(errorOf([&] { checkBoxIfNumeric(box, "1"); }), 0);
    EXPECT_EQ(box.value(), 1);
    EXPECT_EQ(errorOf([&] { checkBoxIfNumeric(box, "2"); }), 0);
    EXPECT_EQ(box.value(), 2);
    EXPECT_EQ(errorOf([&] { checkBoxIfNumeric(box, "abc"); }), 0);
    EXPECT_EQ(box.value(), 2);
    EXPECT_EQ(errorOf([&] { checkBoxIfNumeric(box, "3"); }), 380);
    EXPECT_EQ(errorOf([&] { checkBoxIfNumeric(box, "-1"); }), 380);
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

TEST_F(OptionRule, SelectsTheButtonOrRefusesAMissingOne) {
    EXPECT_EQ(errorOf([&] { selectOptionIfNumeric(frm, "opt", "abc"); }), 0);
    EXPECT_EQ(selected(), -1);
    EXPECT_EQ(errorOf([&] { selectOption(frm, "opt", "abc"); }), 13);
    EXPECT_EQ(errorOf([&] { selectOptionIfNumeric(frm, "opt", "3"); }), 340);
    EXPECT_EQ(errorOf([&] { selectOption(frm, "opt", "-1"); }), 340);
    EXPECT_EQ(selected(), -1) << "a refused index selects no button";
    EXPECT_EQ(errorOf([&] { selectOption(frm, "opt", "1"); }), 0);
    EXPECT_EQ(selected(), 1);
}

TEST_F(OptionRule, OneOfThreeMapsNumbersToThreeOptionsAndRefusesText) {
    test::RecordingSink log;
    Trap t(log, "frmMain,loadStartup");
    const std::pair<const char*, int> cases[] = {{"7", 2}, {"0", 0}, {"1", 1}, {"0.5", 2}, {"-1", 2}, {"1", 1}};
    for (const auto& [v, expected] : cases) {
        selectOneOfThreeOptions(t, frm, "opt", v);
        EXPECT_EQ(selected(), expected) << v;
    }
    EXPECT_TRUE(log.entries.empty());
    selectOneOfThreeOptions(t, frm, "opt", "abc");
    EXPECT_EQ(selected(), 0) << "refused text still selects the first option";
    ASSERT_EQ(log.entries.size(), 1u);
    EXPECT_EQ(log.entries[0].number, 13);
}

}  // namespace
}  // namespace qm
