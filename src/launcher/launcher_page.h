#pragma once
// The "Launcher" page's options (how much RAM to free before a launch, how many attempts
// the launcher makes) and the program list, loaded at start-up.
#include "context/subsystem_context.h"
#include "settings/settings_file.h"

namespace qm {

class LauncherPage {
public:
    LauncherPage(SubsystemContext& ctx, SettingsFile& settings);

    // Applies the stored "Launcher" options, then lists the user's programs.
    void loadLauncher();

    void optLauncher_Click(int index);
    void cmbLauncher_Click();

private:
    SubsystemContext& ctx_;
    SettingsFile& settings_;
};

}  // namespace qm
