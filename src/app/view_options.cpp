#include "app/view_options.h"

#include "memory/release_report.h"
#include "settings/option_table.h"

namespace qm {

namespace {

using namespace mainForm;

constexpr OptionRow kViewOptions[] = {
    storedOption(mnuViewNotify, "View", "ReleaseNotice", "1", LoadRule::CheckMenuIfNumeric, StoreRule::MenuChecked),
    storedOption(mnuViewTrayLoad, "View", "TrayLoad", "0", LoadRule::CheckMenuIfNumeric, StoreRule::MenuChecked),
};

}  // namespace

ViewOptions::ViewOptions(SubsystemContext& ctx, SettingsFile& settings) : ctx_(ctx), settings_(settings) {
    ctx.frmMain.get(mnuViewNotify).onClick = [this] { mnuViewNotify_Click(); };
    ctx.frmMain.get(mnuViewTrayLoad).onClick = [this] { mnuViewTrayLoad_Click(); };
}

void ViewOptions::loadView() {
    auto t = ctx_.trap(",loadView");
    runLoadSteps(t, ctx_.frmMain, settings_, kViewOptions);
}

void ViewOptions::toggle(const char* label, std::string_view item) {
    Menu& menu = ctx_.frmMain.get<Menu>(item);
    menu.setChecked(!menu.checked());
    storeOption(ctx_, settings_, label, rowOf(kViewOptions, item));
}

void ViewOptions::mnuViewNotify_Click() { toggle(",mnuViewNotify_Click", mnuViewNotify); }

void ViewOptions::mnuViewTrayLoad_Click() {
    toggle(",mnuViewTrayLoad_Click", mnuViewTrayLoad);
    if (onTrayLoadChanged) onTrayLoadChanged();
}

bool ViewOptions::notifies() const { return ctx_.frmMain.get(mnuViewNotify).checked(); }

bool ViewOptions::showsTrayLoad() const { return ctx_.frmMain.get(mnuViewTrayLoad).checked(); }

void ViewOptions::cycleEnded(const ReleaseResult& result) {
    if (notifies()) ctx_.host.showTrayMessage(ctx_.frmMain, kAppTitle, shown(releaseResultText(result)));
}

}  // namespace qm
