#pragma once
// The "Time Intervals" page's options: loaded from the settings at start-up, stored by
// each handler. The unit buttons refill lstTimeInterval also while loading (the loader
// applies the stored interval to the refilled list).
#include "context/subsystem_context.h"
#include "memory/timed_release.h"
#include "settings/settings_file.h"

namespace qm {

class TimePage {
public:
    TimePage(SubsystemContext& ctx, SettingsFile& settings, TimedRelease& timedRelease);

    // Applies the stored "Time" options; the unit's handler fills the interval list.
    void loadTime();

    void optTimeMinute_Click();
    void optTimeHour_Click();
    void lstTimeInterval_Click();
    void chkTimeCPU_Click();
    void cmbTimeCPU_Click();
    void chkTimeActive_Click();

    // Entry selected when the user picks a unit: "30" minutes or "6" hours.
    static constexpr int kDefaultIntervalEntry = 5;

private:
    // Refills the interval list with first, first+step ... last; then, unless loading,
    // stores the unit and selects the default entry.
    void chooseUnit(const std::string& label, int first, int last, int step, const std::string& unit);
    // Selects the stored unit, then runs its handler, which fills the interval list even
    // when selecting changed nothing.
    void applyStoredUnit(const std::string& v);

    SubsystemContext& ctx_;
    SettingsFile& settings_;
    TimedRelease& timedRelease_;
};

}  // namespace qm
