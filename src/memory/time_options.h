#pragma once
// The "Time Intervals" page's stored options. The page loads them; the amount's change is
// stored by the amount lists, which own the amount lists' handlers.
#include "context/main_controls.h"
#include "settings/option_table.h"

namespace qm {

inline constexpr OptionRow kTimeBeforeUnit[] = {
    numberList(mainForm::cmbTimeCPU, 10, 100, 10),
    storedOption(mainForm::lstTimeAmount, "Time", "Release", "0", LoadRule::SelectEntryIfListed,
                 StoreRule::ListIndex, WhileLoading::Store),
};
// The unit is read and stored by the page: its buttons refill lstTimeInterval.
inline constexpr OptionRow kTimeUnit = storedOption(mainForm::optTimeMinute, "Time", "Interval", "Minutes",
                                                    LoadRule::ByHandler, StoreRule::ByHandler);
// After the unit: its handler has filled lstTimeInterval.
inline constexpr OptionRow kTimeAfterUnit[] = {
    storedOption(mainForm::lstTimeInterval, "Time", "IntervalAmount", "5", LoadRule::SelectEntry,
                 StoreRule::ListIndex),
    storedOption(mainForm::chkTimeCPU, "Time", "CPUCheck", "1", LoadRule::CheckBoxIfNumeric, StoreRule::CheckState),
    storedOption(mainForm::cmbTimeCPU, "Time", "CPUPercent", "5", LoadRule::SelectEntry, StoreRule::ListIndex),
    storedOption(mainForm::chkTimeActive, "Time", "Active", "1", LoadRule::CheckBoxIfNumeric,
                 StoreRule::CheckState),
};

}  // namespace qm
