#pragma once
// The automatic release: at the chosen interval, when available memory has fallen to the
// chosen minimum (and the processor is idle enough), start a release cycle.
#include "app/app_context.h"
#include "memory/low_memory_check.h"
#include "memory/release_engine.h"

namespace qm {

class AutoRelease {
public:
    AutoRelease(AppContext& ctx, ReleaseEngine& engine, LowMemoryCheck& warning);

    void tmrAuto_Timer();

private:
    bool intervalPassed();
    bool putOff();
    void checkMemory();

    AppContext& ctx_;
    ReleaseEngine& engine_;
    LowMemoryCheck& warning_;
    ListBox& lstAutoAmount_;
    ComboBox& cmbAutoRelease_;
    ListBox& lstAutoInterval_;
    CheckBox& chkAutoCPU_;
    ComboBox& cmbAutoCPU_;
    CheckBox& chkLowLevel_;
};

// The number a list shows, as the release conditions compare it (0 when it is not one).
double shownNumber(const ListControl& list);

}  // namespace qm
