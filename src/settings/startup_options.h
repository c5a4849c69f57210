#pragma once
// The "Startup/Other" page's stored options. The page loads them all; two of their changes
// are stored by the subsystems that act on them (the Run registration, the CPU graph's pace).
#include "context/main_controls.h"
#include "settings/option_table.h"

namespace qm {

// The amount lists are filled by loadRAM before this runs.
inline constexpr OptionRow kStartupOptions[] = {
    storedOption(mainForm::optDisplay, "Startup", "Display", "0", LoadRule::SelectOneOfThreeOptions,
                 StoreRule::OptionIndex),
    storedOption(mainForm::chkStartup, "Startup", "AutoLaunch", "0", LoadRule::CheckBoxIfNumeric,
                 StoreRule::CheckState, WhileLoading::Store),
    storedOption(mainForm::chkQuit, "Startup", "Quit", "1", LoadRule::CheckBoxIfNumeric, StoreRule::CheckState),
    storedOption(mainForm::chkLowLevel, "Startup", "LowLevel", "0", LoadRule::CheckBoxIfNumeric,
                 StoreRule::CheckState),
    storedOption(mainForm::cmbStartupRam, "Startup", "Release", "0", LoadRule::SelectEntryOrFirst,
                 StoreRule::ListIndex),
    numberList(mainForm::cmbStartupWait, 1, 250, 1),
    storedOption(mainForm::cmbStartupWait, "Startup", "Wait", "0", LoadRule::SelectEntryOrFirst,
                 StoreRule::ListIndex),
    numberList(mainForm::cmbRetry, 1, 20, 1),
    storedOption(mainForm::cmbRetry, "Startup", "Retry", "0", LoadRule::SelectEntryOrFirst, StoreRule::ListIndex),
    storedOption(mainForm::optCPU, "Startup", "CPUUpdate", "2", LoadRule::SelectOptionIfNumeric,
                 StoreRule::OptionIndex, WhileLoading::Store),
};

}  // namespace qm
