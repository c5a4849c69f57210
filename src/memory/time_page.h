#pragma once
// The "Time Intervals" page's option handlers. The unit buttons refill lstTimeInterval
// also while loading (the loader applies the stored interval to the refilled list).
#include "app/app_context.h"
#include "settings/settings_file.h"

namespace qm {

class TimePage {
public:
    TimePage(AppContext& ctx, SettingsFile& settings);

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

    AppContext& ctx_;
    SettingsFile& settings_;
};

}  // namespace qm
