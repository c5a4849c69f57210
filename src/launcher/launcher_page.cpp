#include "launcher/launcher_page.h"

#include "launcher/program_list.h"
#include "settings/option_table.h"

namespace qm {

namespace {

using namespace mainForm;

constexpr OptionRow kLauncherOptions[] = {
    numberList(cmbLauncher, 1, 5, 1),
    storedOption(cmbLauncher, "Launcher", "Retry", "0", LoadRule::SelectEntry, StoreRule::ListIndex),
    storedOption(optLauncher, "Launcher", "Freeup", "1", LoadRule::SelectOption, StoreRule::OptionIndex),
};

}  // namespace

LauncherPage::LauncherPage(SubsystemContext& ctx, SettingsFile& settings) : ctx_(ctx), settings_(settings) {
    Form& frm = ctx.frmMain;
    for (int i : frm.elementIndexes(optLauncher)) {
        frm.element(optLauncher, i).onClick = [this](int index) { optLauncher_Click(index); };
    }
    frm.get(cmbLauncher).onClick = [this] { cmbLauncher_Click(); };
}

void LauncherPage::loadLauncher() {
    auto t = ctx_.trap(",loadLauncher");
    runLoadSteps(t, ctx_.frmMain, settings_, kLauncherOptions);
    t([&] {
        loadProgramList(ctx_.platform.files, ctx_.programFile(kProgramListFile),
                        ctx_.frmMain.get(mainForm::lstLauncher));
    });
}

void LauncherPage::optLauncher_Click(int index) {
    storeOption(ctx_, settings_, ",optLauncher_Click", rowOf(kLauncherOptions, optLauncher), index);
}

void LauncherPage::cmbLauncher_Click() {
    storeOption(ctx_, settings_, ",cmbLauncher_Click", rowOf(kLauncherOptions, cmbLauncher));
}

}  // namespace qm
