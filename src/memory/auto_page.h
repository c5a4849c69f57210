#pragma once
// The "Automatic" page's options: loaded from the settings at start-up, stored by each
// handler; switching the feature on or off also starts or stops tmrAuto.
#include "context/subsystem_context.h"
#include "memory/auto_release.h"
#include "settings/settings_file.h"

namespace qm {

class AutoPage {
public:
    AutoPage(SubsystemContext& ctx, SettingsFile& settings, AutoRelease& autoRelease);

    // Fills the interval and CPU lists and applies the stored "Auto" options.
    void loadAuto();

    void cmbAutoRelease_Click();
    void lstAutoAmount_Click();
    void lstAutoInterval_Click();
    void chkAutoCPU_Click();
    void cmbAutoCPU_Click();
    void chkAutoActive_Click();

private:
    SubsystemContext& ctx_;
    SettingsFile& settings_;
    AutoRelease& autoRelease_;
};

}  // namespace qm
