#include "memory/time_page.h"

#include "context/layout_helpers.h"
#include "memory/feature_switch.h"
#include "settings/load_rules.h"
#include "memory/time_options.h"

namespace qm {

using namespace mainForm;

TimePage::TimePage(SubsystemContext& ctx, SettingsFile& settings, TimedRelease& timedRelease)
    : ctx_(ctx), settings_(settings), timedRelease_(timedRelease) {
    Form& frm = ctx.frmMain;
    frm.get(optTimeMinute).onClick = [this](int) { optTimeMinute_Click(); };
    frm.get(optTimeHour).onClick = [this](int) { optTimeHour_Click(); };
    frm.get(lstTimeInterval).onClick = [this] { lstTimeInterval_Click(); };
    frm.get(chkTimeCPU).onClick = [this] { chkTimeCPU_Click(); };
    frm.get(cmbTimeCPU).onClick = [this] { cmbTimeCPU_Click(); };
    frm.get(chkTimeActive).onClick = [this] { chkTimeActive_Click(); };
}

void TimePage::loadTime() {
    auto t = ctx_.trap(",loadTime");
    runLoadSteps(t, ctx_.frmMain, settings_, kTimeBeforeUnit);
    t([&] { applyStoredUnit(settings_.getData(kTimeUnit.section, kTimeUnit.key, kTimeUnit.missing)); });
    runLoadSteps(t, ctx_.frmMain, settings_, kTimeAfterUnit);
}

void TimePage::applyStoredUnit(const std::string& v) {
    if (namesMinutes(v)) {
        ctx_.frmMain.get(optTimeMinute).setValue(true);
        optTimeMinute_Click();
    } else {
        ctx_.frmMain.get(optTimeHour).setValue(true);
        optTimeHour_Click();
    }
}

void TimePage::chooseUnit(const std::string& label, int first, int last, int step, const std::string& unit) {
    auto t = ctx_.trap(label);
    ListBox& intervals = ctx_.frmMain.get(lstTimeInterval);
    t([&] { intervals.clear(); });
    t([&] { layout::fillNumbers(intervals, first, last, step); });
    if (settings_.isLoading()) return;
    t([&] { settings_.writeKey(kTimeUnit.section, kTimeUnit.key, unit); });
    t([&] { intervals.setListIndex(kDefaultIntervalEntry); });
}

void TimePage::optTimeMinute_Click() { chooseUnit(",optTimeMinute_Click", 5, 50, 5, "Minutes"); }

void TimePage::optTimeHour_Click() { chooseUnit(",optTimeHour_Click", 1, 24, 1, "Hour"); }

void TimePage::lstTimeInterval_Click() {
    storeOption(ctx_, settings_, ",lstTimeInterval_Click", rowOf(kTimeAfterUnit, lstTimeInterval));
}

void TimePage::chkTimeCPU_Click() { storeOption(ctx_, settings_, ",chkTimeCPU_Click", rowOf(kTimeAfterUnit, chkTimeCPU)); }

void TimePage::cmbTimeCPU_Click() { storeOption(ctx_, settings_, ",cmbTimeCPU_Click", rowOf(kTimeAfterUnit, cmbTimeCPU)); }

void TimePage::chkTimeActive_Click() {
    switchFeature(ctx_, settings_,
                  {",chkTimeActive_Click", rowOf(kTimeAfterUnit, chkTimeActive), tmrTime,
                   [this] { timedRelease_.startInterval(); }});
}

}  // namespace qm
