#pragma once
// The "Startup/Other" page's options: loaded from the settings at start-up; each handler
// only stores its value, and the subsystems that use an option read the control.
#include "context/subsystem_context.h"
#include "settings/settings_file.h"

namespace qm {

class StartupPage {
public:
    StartupPage(SubsystemContext& ctx, SettingsFile& settings);

    // Fills the wait and retry lists and applies the stored "Startup" options.
    void loadStartup();

    void optDisplay_Click(int index);
    void cmbStartupRam_Click();
    void cmbStartupWait_Click();
    void cmbRetry_Click();
    void chkLowLevel_Click();
    void chkQuit_Click();

private:
    SubsystemContext& ctx_;
    SettingsFile& settings_;
};

}  // namespace qm
