#include "memory/feature_switch.h"

namespace qm {

void switchFeature(SubsystemContext& ctx, SettingsFile& settings, const FeatureSwitch& feature) {
    if (settings.isLoading()) return;
    auto t = ctx.trap(feature.label);
    const int state = ctx.frmMain.get<CheckBox>(feature.box).value();
    Timer& timer = ctx.frmMain.get<Timer>(feature.timer);
    t([&] { settings.writeKey(feature.section, "Active", state); });
    if (state == 1) {
        t([&] { feature.startInterval(); });
        t([&] { timer.setEnabled(true); });
    } else {
        t([&] { timer.setEnabled(false); });
    }
}

}  // namespace qm
