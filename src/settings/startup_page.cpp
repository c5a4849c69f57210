#include "settings/startup_page.h"

#include "settings/option_table.h"

namespace qm {

namespace {

// The amount lists are filled by loadRAM before this runs.
constexpr LoadStep kStartupOptions[] = {
    storedOption("optDisplay", "Startup", "Display", "0", LoadRule::SelectOneOfThreeOptions),
    storedOption("chkStartup", "Startup", "AutoLaunch", "0", LoadRule::CheckBoxIfNumeric),
    storedOption("chkQuit", "Startup", "Quit", "1", LoadRule::CheckBoxIfNumeric),
    storedOption("chkLowLevel", "Startup", "LowLevel", "0", LoadRule::CheckBoxIfNumeric),
    storedOption("cmbStartupRam", "Startup", "Release", "0", LoadRule::SelectEntryOrFirst),
    numberList("cmbStartupWait", 1, 250, 1),
    storedOption("cmbStartupWait", "Startup", "Wait", "0", LoadRule::SelectEntryOrFirst),
    numberList("cmbRetry", 1, 20, 1),
    storedOption("cmbRetry", "Startup", "Retry", "0", LoadRule::SelectEntryOrFirst),
    storedOption("optCPU", "Startup", "CPUUpdate", "2", LoadRule::SelectOptionIfNumeric),
};

}  // namespace

StartupPage::StartupPage(SubsystemContext& ctx, SettingsFile& settings) : ctx_(ctx), settings_(settings) {
    Form& frm = ctx.frmMain;
    for (int i : frm.elementIndexes("optDisplay")) {
        frm.element<OptionButton>("optDisplay", i).onClick = [this](int index) { optDisplay_Click(index); };
    }
    frm.get<ComboBox>("cmbStartupRam").onClick = [this] { cmbStartupRam_Click(); };
    frm.get<ComboBox>("cmbStartupWait").onClick = [this] { cmbStartupWait_Click(); };
    frm.get<ComboBox>("cmbRetry").onClick = [this] { cmbRetry_Click(); };
    frm.get<CheckBox>("chkLowLevel").onClick = [this] { chkLowLevel_Click(); };
    frm.get<CheckBox>("chkQuit").onClick = [this] { chkQuit_Click(); };
}

void StartupPage::loadStartup() {
    auto t = ctx_.trap(",loadStartup");
    runLoadSteps(t, ctx_.frmMain, settings_, kStartupOptions);
}

void StartupPage::optDisplay_Click(int index) {
    settings_.saveOption(",optDisplay_Click", "Startup", "Display", index);
}

void StartupPage::cmbStartupRam_Click() {
    settings_.saveListIndex(",cmbStartupRam_Click", "Startup", "Release", ctx_.frmMain.get<ComboBox>("cmbStartupRam"));
}

void StartupPage::cmbStartupWait_Click() {
    settings_.saveListIndex(",cmbStartupWait_Click", "Startup", "Wait", ctx_.frmMain.get<ComboBox>("cmbStartupWait"));
}

void StartupPage::cmbRetry_Click() {
    settings_.saveListIndex(",cmbRetry_Click", "Startup", "Retry", ctx_.frmMain.get<ComboBox>("cmbRetry"));
}

void StartupPage::chkLowLevel_Click() {
    settings_.saveCheckState(",chkLowLevel_Click", "Startup", "LowLevel", ctx_.frmMain.get<CheckBox>("chkLowLevel"));
}

void StartupPage::chkQuit_Click() {
    settings_.saveCheckState(",chkQuit_Click", "Startup", "Quit", ctx_.frmMain.get<CheckBox>("chkQuit"));
}

}  // namespace qm
