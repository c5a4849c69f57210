#pragma once
// The "Automatic" page's option handlers: each stores its control's value; switching the
// feature on or off also starts or stops tmrAuto.
#include "app/app_context.h"
#include "settings/settings_file.h"

namespace qm {

class AutoPage {
public:
    AutoPage(AppContext& ctx, SettingsFile& settings);

    void cmbAutoRelease_Click();
    void lstAutoAmount_Click();
    void lstAutoInterval_Click();
    void chkAutoCPU_Click();
    void cmbAutoCPU_Click();
    void chkAutoActive_Click();

private:
    AppContext& ctx_;
    SettingsFile& settings_;
};

}  // namespace qm
