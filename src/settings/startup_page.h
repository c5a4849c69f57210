#pragma once
// The "Startup/Other" page's option handlers. Each only stores its value: the Parts that
// use an option read the control when they need it.
#include "app/app_context.h"
#include "settings/settings_file.h"

namespace qm {

class StartupPage {
public:
    StartupPage(AppContext& ctx, SettingsFile& settings);

    void optDisplay_Click(int index);
    void cmbStartupRam_Click();
    void cmbStartupWait_Click();
    void cmbRetry_Click();
    void chkLowLevel_Click();
    void chkQuit_Click();

private:
    AppContext& ctx_;
    SettingsFile& settings_;
};

}  // namespace qm
