#include "memory/auto_page.h"

#include "memory/feature_switch.h"
#include "settings/option_table.h"

namespace qm {

namespace {

// The lists are filled right before the values that select in them.
constexpr LoadStep kAutoOptions[] = {
    storedOption("cmbAutoRelease", "Auto", "Minimum", "0", LoadRule::SelectEntryIfListed),
    storedOption("lstAutoAmount", "Auto", "Release", "0", LoadRule::SelectEntryIfListed),
    numberList("lstAutoInterval", 5, 300, 5),
    storedOption("lstAutoInterval", "Auto", "Interval", "5", LoadRule::SelectEntryIfNumeric),
    storedOption("chkAutoCPU", "Auto", "CPUCheck", "1", LoadRule::CheckBoxIfNumeric),
    numberList("cmbAutoCPU", 10, 100, 10),
    storedOption("cmbAutoCPU", "Auto", "CPUPercent", "5", LoadRule::SelectEntryIfNumeric),
    storedOption("chkAutoActive", "Auto", "Active", "1", LoadRule::CheckBoxIfNumeric),
};

}  // namespace

AutoPage::AutoPage(SubsystemContext& ctx, SettingsFile& settings, AutoRelease& autoRelease)
    : ctx_(ctx), settings_(settings), autoRelease_(autoRelease) {
    Form& frm = ctx.frmMain;
    frm.get<ComboBox>("cmbAutoRelease").onClick = [this] { cmbAutoRelease_Click(); };
    frm.get<ListBox>("lstAutoAmount").onClick = [this] { lstAutoAmount_Click(); };
    frm.get<ListBox>("lstAutoInterval").onClick = [this] { lstAutoInterval_Click(); };
    frm.get<CheckBox>("chkAutoCPU").onClick = [this] { chkAutoCPU_Click(); };
    frm.get<ComboBox>("cmbAutoCPU").onClick = [this] { cmbAutoCPU_Click(); };
    frm.get<CheckBox>("chkAutoActive").onClick = [this] { chkAutoActive_Click(); };
}

void AutoPage::loadAuto() {
    auto t = ctx_.trap(",loadAuto");
    runLoadSteps(t, ctx_.frmMain, settings_, kAutoOptions);
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
    switchFeature(ctx_, settings_,
                  {",chkAutoActive_Click", "Auto", "chkAutoActive", "tmrAuto", [this] { autoRelease_.startInterval(); }});
}

}  // namespace qm
