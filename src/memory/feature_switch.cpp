#include "memory/feature_switch.h"

namespace qm {

void switchFeature(SubsystemContext& ctx, SettingsFile& settings, const FeatureSwitch& feature) {
    if (settings.isLoading()) return;
    auto t = ctx.trap(feature.label);
    const int state = ctx.frmMain.get<CheckBox>(feature.active.control).value();
    Timer& timer = ctx.frmMain.get(feature.timer);
    storeOption(t, ctx.frmMain, settings, feature.active);
    if (state == 1) {
        t([&] { feature.startInterval(); });
        t([&] { timer.setEnabled(true); });
    } else {
        t([&] { timer.setEnabled(false); });
    }
}

}  // namespace qm
