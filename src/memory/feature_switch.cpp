#include "memory/feature_switch.h"

namespace qm {

void switchFeature(AppContext& ctx, SettingsFile& settings, const FeatureSwitch& feature) {
    if (ctx.state.isLoading) return;
    auto t = ctx.trap(feature.label);
    const int state = ctx.frmMain.get<CheckBox>(feature.box).value();
    Timer& timer = ctx.frmMain.get<Timer>(feature.timer);
    t([&] { settings.writeKey(feature.section, "Active", state); });
    if (state == 1) {
        t([&] { ctx.state.*feature.start = ctx.platform.clock.now(); });
        t([&] { timer.setEnabled(true); });
    } else {
        t([&] { timer.setEnabled(false); });
    }
}

}  // namespace qm
