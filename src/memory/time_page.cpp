#include "memory/time_page.h"

#include "app/layout_helpers.h"
#include "memory/feature_switch.h"

namespace qm {

TimePage::TimePage(AppContext& ctx, SettingsFile& settings) : ctx_(ctx), settings_(settings) {
    Form& frm = ctx.frmMain;
    frm.get<OptionButton>("optTimeMinute").onClick = [this](int) { optTimeMinute_Click(); };
    frm.get<OptionButton>("optTimeHour").onClick = [this](int) { optTimeHour_Click(); };
    frm.get<ListBox>("lstTimeInterval").onClick = [this] { lstTimeInterval_Click(); };
    frm.get<CheckBox>("chkTimeCPU").onClick = [this] { chkTimeCPU_Click(); };
    frm.get<ComboBox>("cmbTimeCPU").onClick = [this] { cmbTimeCPU_Click(); };
    frm.get<CheckBox>("chkTimeActive").onClick = [this] { chkTimeActive_Click(); };
}

void TimePage::chooseUnit(const std::string& label, int first, int last, int step, const std::string& unit) {
    auto t = ctx_.trap(label);
    ListBox& lstTimeInterval = ctx_.frmMain.get<ListBox>("lstTimeInterval");
    t([&] { lstTimeInterval.clear(); });
    t([&] { layout::fillNumbers(lstTimeInterval, first, last, step); });
    if (ctx_.state.isLoading) return;
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
    switchFeature(ctx_, settings_, {",chkTimeActive_Click", "Time", "chkTimeActive", "tmrTime", &MainState::timeIntervalStart});
}

}  // namespace qm
