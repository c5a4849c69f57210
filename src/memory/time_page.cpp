#include "memory/time_page.h"

#include "context/layout_helpers.h"
#include "memory/feature_switch.h"
#include "settings/load_rules.h"
#include "settings/option_table.h"

namespace qm {

namespace {

constexpr LoadStep kBeforeUnit[] = {
    numberList("cmbTimeCPU", 10, 100, 10),
    storedOption("lstTimeAmount", "Time", "Release", "0", LoadRule::SelectEntryIfListed),
};
// After the unit: its handler has filled lstTimeInterval.
constexpr LoadStep kAfterUnit[] = {
    storedOption("lstTimeInterval", "Time", "IntervalAmount", "5", LoadRule::SelectEntry),
    storedOption("chkTimeCPU", "Time", "CPUCheck", "1", LoadRule::CheckBoxIfNumeric),
    storedOption("cmbTimeCPU", "Time", "CPUPercent", "5", LoadRule::SelectEntry),
    storedOption("chkTimeActive", "Time", "Active", "1", LoadRule::CheckBoxIfNumeric),
};

}  // namespace

TimePage::TimePage(SubsystemContext& ctx, SettingsFile& settings, TimedRelease& timedRelease)
    : ctx_(ctx), settings_(settings), timedRelease_(timedRelease) {
    Form& frm = ctx.frmMain;
    frm.get<OptionButton>("optTimeMinute").onClick = [this](int) { optTimeMinute_Click(); };
    frm.get<OptionButton>("optTimeHour").onClick = [this](int) { optTimeHour_Click(); };
    frm.get<ListBox>("lstTimeInterval").onClick = [this] { lstTimeInterval_Click(); };
    frm.get<CheckBox>("chkTimeCPU").onClick = [this] { chkTimeCPU_Click(); };
    frm.get<ComboBox>("cmbTimeCPU").onClick = [this] { cmbTimeCPU_Click(); };
    frm.get<CheckBox>("chkTimeActive").onClick = [this] { chkTimeActive_Click(); };
}

void TimePage::loadTime() {
    auto t = ctx_.trap(",loadTime");
    runLoadSteps(t, ctx_.frmMain, settings_, kBeforeUnit);
    t([&] { applyStoredUnit(settings_.getData("Time", "Interval", "Minutes")); });
    runLoadSteps(t, ctx_.frmMain, settings_, kAfterUnit);
}

void TimePage::applyStoredUnit(const std::string& v) {
    if (namesMinutes(v)) {
        ctx_.frmMain.get<OptionButton>("optTimeMinute").setValue(true);
        optTimeMinute_Click();
    } else {
        ctx_.frmMain.get<OptionButton>("optTimeHour").setValue(true);
        optTimeHour_Click();
    }
}

void TimePage::chooseUnit(const std::string& label, int first, int last, int step, const std::string& unit) {
    auto t = ctx_.trap(label);
    ListBox& lstTimeInterval = ctx_.frmMain.get<ListBox>("lstTimeInterval");
    t([&] { lstTimeInterval.clear(); });
    t([&] { layout::fillNumbers(lstTimeInterval, first, last, step); });
    if (settings_.isLoading()) return;
    t([&] { settings_.writeKey("Time", "Interval", unit); });
    t([&] { lstTimeInterval.setListIndex(kDefaultIntervalEntry); });
}

void TimePage::optTimeMinute_Click() { chooseUnit(",optTimeMinute_Click", 5, 50, 5, "Minutes"); }

void TimePage::optTimeHour_Click() { chooseUnit(",optTimeHour_Click", 1, 24, 1, "Hour"); }

void TimePage::lstTimeInterval_Click() {
    settings_.saveListIndex(",lstTimeInterval_Click", "Time", "IntervalAmount",
                            ctx_.frmMain.get<ListBox>("lstTimeInterval"));
}

void TimePage::chkTimeCPU_Click() {
    settings_.saveCheckState(",chkTimeCPU_Click", "Time", "CPUCheck", ctx_.frmMain.get<CheckBox>("chkTimeCPU"));
}

void TimePage::cmbTimeCPU_Click() {
    settings_.saveListIndex(",cmbTimeCPU_Click", "Time", "CPUPercent", ctx_.frmMain.get<ComboBox>("cmbTimeCPU"));
}

void TimePage::chkTimeActive_Click() {
    switchFeature(ctx_, settings_,
                  {",chkTimeActive_Click", "Time", "chkTimeActive", "tmrTime", [this] { timedRelease_.startInterval(); }});
}

}  // namespace qm
