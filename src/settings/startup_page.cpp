#include "settings/startup_page.h"

#include "settings/startup_options.h"

namespace qm {

using namespace mainForm;

StartupPage::StartupPage(SubsystemContext& ctx, SettingsFile& settings) : ctx_(ctx), settings_(settings) {
    Form& frm = ctx.frmMain;
    for (int i : frm.elementIndexes(optDisplay)) {
        frm.element(optDisplay, i).onClick = [this](int index) { optDisplay_Click(index); };
    }
    frm.get(cmbStartupRam).onClick = [this] { cmbStartupRam_Click(); };
    frm.get(cmbStartupWait).onClick = [this] { cmbStartupWait_Click(); };
    frm.get(cmbRetry).onClick = [this] { cmbRetry_Click(); };
    frm.get(chkLowLevel).onClick = [this] { chkLowLevel_Click(); };
    frm.get(chkQuit).onClick = [this] { chkQuit_Click(); };
}

void StartupPage::loadStartup() {
    auto t = ctx_.trap(",loadStartup");
    runLoadSteps(t, ctx_.frmMain, settings_, kStartupOptions);
}

void StartupPage::optDisplay_Click(int index) {
    storeOption(ctx_, settings_, ",optDisplay_Click", rowOf(kStartupOptions, optDisplay), index);
}

void StartupPage::cmbStartupRam_Click() {
    storeOption(ctx_, settings_, ",cmbStartupRam_Click", rowOf(kStartupOptions, cmbStartupRam));
}

void StartupPage::cmbStartupWait_Click() {
    storeOption(ctx_, settings_, ",cmbStartupWait_Click", rowOf(kStartupOptions, cmbStartupWait));
}

void StartupPage::cmbRetry_Click() {
    storeOption(ctx_, settings_, ",cmbRetry_Click", rowOf(kStartupOptions, cmbRetry));
}

void StartupPage::chkLowLevel_Click() {
    storeOption(ctx_, settings_, ",chkLowLevel_Click", rowOf(kStartupOptions, chkLowLevel));
}

void StartupPage::chkQuit_Click() {
    storeOption(ctx_, settings_, ",chkQuit_Click", rowOf(kStartupOptions, chkQuit));
}

}  // namespace qm
