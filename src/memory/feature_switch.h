#pragma once
// Switching the automatic or the timed release on and off from its "Active" box.
#include <functional>

#include "context/subsystem_context.h"
#include "settings/option_table.h"

namespace qm {

struct FeatureSwitch {
    const char* label;                   // the handler's label, ",chkAutoActive_Click"
    const OptionRow& active;             // the "Active" box and the key that mirrors it
    ControlName<Timer> timer;            // the feature's timer
    std::function<void()> startInterval; // the feature's interval is measured from now on
};

// Stores the box's state; checked: the interval starts now and the timer runs, otherwise
// the timer stops. Does nothing while loading: the start-up sequence starts the timers.
void switchFeature(SubsystemContext& ctx, SettingsFile& settings, const FeatureSwitch& feature);

}  // namespace qm
