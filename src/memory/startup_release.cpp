#include "memory/startup_release.h"

#include "forms/control.h"

namespace qm {

void checkStartupRelease(SubsystemContext& ctx, ReleaseEngine& engine) {
    const std::string shown = ctx.frmMain.get(mainForm::cmbStartupRam).text();
    if (shown == "0 MB") return;
    Trap trap = ctx.trap(",checkStartupRelease");
    int32_t amount = 0;
    trap([&] { amount = ReleaseEngine::entryMB(shown); });
    trap([&] { engine.startRelease(amount + engine.availableMB(), engine.waitSpacingMs()); });
}

}  // namespace qm
