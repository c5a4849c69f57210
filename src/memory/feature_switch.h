#pragma once
// Switching the automatic or the timed release on and off from its "Active" box.
#include <functional>

#include "context/subsystem_context.h"
#include "settings/settings_file.h"

namespace qm {

struct FeatureSwitch {
    const char* label;                   // the handler's label, ",chkAutoActive_Click"
    const char* section;                 // settings section whose Active key mirrors the box
    const char* box;                     // the check box
    const char* timer;                   // the feature's timer
    std::function<void()> startInterval; // the feature's interval is measured from now on
};

// Stores the box's state; checked: the interval starts now and the timer runs, otherwise
// the timer stops. Does nothing while loading: the start-up sequence starts the timers.
void switchFeature(SubsystemContext& ctx, SettingsFile& settings, const FeatureSwitch& feature);

}  // namespace qm
