#pragma once
// The "Launcher" page's option handlers: how much RAM to free before a launch, and how
// many attempts the launcher makes.
#include "app/app_context.h"
#include "settings/settings_file.h"

namespace qm {

class LauncherPage {
public:
    LauncherPage(AppContext& ctx, SettingsFile& settings);

    void optLauncher_Click(int index);
    void cmbLauncher_Click();

private:
    AppContext& ctx_;
    SettingsFile& settings_;
};

}  // namespace qm
