#include "launcher/launcher_page.h"

#include "launcher/program_list.h"
#include "settings/option_table.h"

namespace qm {

namespace {

constexpr LoadStep kLauncherOptions[] = {
    numberList("cmbLauncher", 1, 5, 1),
    storedOption("cmbLauncher", "Launcher", "Retry", "0", LoadRule::SelectEntry),
    storedOption("optLauncher", "Launcher", "Freeup", "1", LoadRule::SelectOption),
};

}  // namespace

LauncherPage::LauncherPage(SubsystemContext& ctx, SettingsFile& settings) : ctx_(ctx), settings_(settings) {
    Form& frm = ctx.frmMain;
    for (int i : frm.elementIndexes("optLauncher")) {
        frm.element<OptionButton>("optLauncher", i).onClick = [this](int index) { optLauncher_Click(index); };
    }
    frm.get<ComboBox>("cmbLauncher").onClick = [this] { cmbLauncher_Click(); };
}

void LauncherPage::loadLauncher() {
    auto t = ctx_.trap(",loadLauncher");
    runLoadSteps(t, ctx_.frmMain, settings_, kLauncherOptions);
    t([&] {
        loadProgramList(ctx_.platform.files, ctx_.programFile(kProgramListFile),
                        ctx_.frmMain.get<ListControl>("lstLauncher"));
    });
}

void LauncherPage::optLauncher_Click(int index) {
    settings_.saveOption(",optLauncher_Click", "Launcher", "Freeup", index);
}

void LauncherPage::cmbLauncher_Click() {
    settings_.saveListIndex(",cmbLauncher_Click", "Launcher", "Retry", ctx_.frmMain.get<ComboBox>("cmbLauncher"));
}

}  // namespace qm
