#include "launcher/launcher_page.h"

namespace qm {

LauncherPage::LauncherPage(AppContext& ctx, SettingsFile& settings) : ctx_(ctx), settings_(settings) {
    Form& frm = ctx.frmMain;
    for (int i : frm.elementIndexes("optLauncher")) {
        frm.element<OptionButton>("optLauncher", i).onClick = [this](int index) { optLauncher_Click(index); };
    }
    frm.get<ComboBox>("cmbLauncher").onClick = [this] { cmbLauncher_Click(); };
}

void LauncherPage::optLauncher_Click(int index) {
    settings_.saveOption(",optLauncher_Click", "Launcher", "Freeup", index);
}

void LauncherPage::cmbLauncher_Click() {
    settings_.saveListIndex(",cmbLauncher_Click", "Launcher", "Retry", ctx_.frmMain.get<ComboBox>("cmbLauncher"));
}

}  // namespace qm
