#include "memory/auto_page.h"

#include "memory/feature_switch.h"

namespace qm {

AutoPage::AutoPage(AppContext& ctx, SettingsFile& settings) : ctx_(ctx), settings_(settings) {
    Form& frm = ctx.frmMain;
    frm.get<ComboBox>("cmbAutoRelease").onClick = [this] { cmbAutoRelease_Click(); };
    frm.get<ListBox>("lstAutoAmount").onClick = [this] { lstAutoAmount_Click(); };
    frm.get<ListBox>("lstAutoInterval").onClick = [this] { lstAutoInterval_Click(); };
    frm.get<CheckBox>("chkAutoCPU").onClick = [this] { chkAutoCPU_Click(); };
    frm.get<ComboBox>("cmbAutoCPU").onClick = [this] { cmbAutoCPU_Click(); };
    frm.get<CheckBox>("chkAutoActive").onClick = [this] { chkAutoActive_Click(); };
}

void AutoPage::cmbAutoRelease_Click() {
    settings_.saveListIndex(",cmbAutoRelease_Click", "Auto", "Minimum", ctx_.frmMain.get<ComboBox>("cmbAutoRelease"));
}

void AutoPage::lstAutoAmount_Click() {
    settings_.saveListIndex(",lstAutoAmount_Click", "Auto", "Release", ctx_.frmMain.get<ListBox>("lstAutoAmount"));
}

void AutoPage::lstAutoInterval_Click() {
    settings_.saveListIndex(",lstAutoInterval_Click", "Auto", "Interval",
                            ctx_.frmMain.get<ListBox>("lstAutoInterval"));
}

void AutoPage::chkAutoCPU_Click() {
    settings_.saveCheckState(",chkAutoCPU_Click", "Auto", "CPUCheck", ctx_.frmMain.get<CheckBox>("chkAutoCPU"));
}

void AutoPage::cmbAutoCPU_Click() {
    settings_.saveListIndex(",cmbAutoCPU_Click", "Auto", "CPUPercent", ctx_.frmMain.get<ComboBox>("cmbAutoCPU"));
}

void AutoPage::chkAutoActive_Click() {
    switchFeature(ctx_, settings_, {",chkAutoActive_Click", "Auto", "chkAutoActive", "tmrAuto", &MainState::autoIntervalStart});
}

}  // namespace qm
