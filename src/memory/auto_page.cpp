#include "memory/auto_page.h"

#include "memory/feature_switch.h"
#include "settings/option_table.h"

namespace qm {

namespace {

using namespace mainForm;

// The lists are filled right before the values that select in them.
constexpr OptionRow kAutoOptions[] = {
    storedOption(cmbAutoRelease, "Auto", "Minimum", "0", LoadRule::SelectEntryIfListed, StoreRule::ListIndex),
    storedOption(lstAutoAmount, "Auto", "Release", "0", LoadRule::SelectEntryIfListed, StoreRule::ListIndex),
    numberList(lstAutoInterval, 5, 300, 5),
    storedOption(lstAutoInterval, "Auto", "Interval", "5", LoadRule::SelectEntryIfNumeric, StoreRule::ListIndex),
    storedOption(chkAutoCPU, "Auto", "CPUCheck", "1", LoadRule::CheckBoxIfNumeric, StoreRule::CheckState),
    numberList(cmbAutoCPU, 10, 100, 10),
    storedOption(cmbAutoCPU, "Auto", "CPUPercent", "5", LoadRule::SelectEntryIfNumeric, StoreRule::ListIndex),
    storedOption(chkAutoActive, "Auto", "Active", "1", LoadRule::CheckBoxIfNumeric, StoreRule::CheckState),
};

}  // namespace

AutoPage::AutoPage(SubsystemContext& ctx, SettingsFile& settings, AutoRelease& autoRelease)
    : ctx_(ctx), settings_(settings), autoRelease_(autoRelease) {
    Form& frm = ctx.frmMain;
    frm.get(cmbAutoRelease).onClick = [this] { cmbAutoRelease_Click(); };
    frm.get(lstAutoAmount).onClick = [this] { lstAutoAmount_Click(); };
    frm.get(lstAutoInterval).onClick = [this] { lstAutoInterval_Click(); };
    frm.get(chkAutoCPU).onClick = [this] { chkAutoCPU_Click(); };
    frm.get(cmbAutoCPU).onClick = [this] { cmbAutoCPU_Click(); };
    frm.get(chkAutoActive).onClick = [this] { chkAutoActive_Click(); };
}

void AutoPage::loadAuto() {
    auto t = ctx_.trap(",loadAuto");
    runLoadSteps(t, ctx_.frmMain, settings_, kAutoOptions);
}

void AutoPage::cmbAutoRelease_Click() { storeOption(ctx_, settings_, ",cmbAutoRelease_Click", rowOf(kAutoOptions, cmbAutoRelease)); }

void AutoPage::lstAutoAmount_Click() { storeOption(ctx_, settings_, ",lstAutoAmount_Click", rowOf(kAutoOptions, lstAutoAmount)); }

void AutoPage::lstAutoInterval_Click() { storeOption(ctx_, settings_, ",lstAutoInterval_Click", rowOf(kAutoOptions, lstAutoInterval)); }

void AutoPage::chkAutoCPU_Click() { storeOption(ctx_, settings_, ",chkAutoCPU_Click", rowOf(kAutoOptions, chkAutoCPU)); }

void AutoPage::cmbAutoCPU_Click() { storeOption(ctx_, settings_, ",cmbAutoCPU_Click", rowOf(kAutoOptions, cmbAutoCPU)); }

void AutoPage::chkAutoActive_Click() {
    switchFeature(ctx_, settings_,
                  {",chkAutoActive_Click", rowOf(kAutoOptions, chkAutoActive), tmrAuto,
                   [this] { autoRelease_.startInterval(); }});
}

}  // namespace qm
