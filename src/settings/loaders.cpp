#include "settings/loaders.h"

#include "app/layout_helpers.h"
#include "launcher/program_list.h"
#include "settings/load_rules.h"

namespace qm {

using layout::fillNumbers;

Loaders::Loaders(AppContext& ctx, SettingsFile& settings, TimePage& timePage)
    : ctx_(ctx), settings_(settings), timePage_(timePage) {}

void Loaders::loadAuto() {
    auto t = ctx_.trap(",loadAuto");
    t([&] { applyRuleA(list("cmbAutoRelease"), stored("Auto", "Minimum", "0")); });
    t([&] { applyRuleA(list("lstAutoAmount"), stored("Auto", "Release", "0")); });
    t([&] { fillNumbers(list("lstAutoInterval"), 5, 300, 5); });
    t([&] { applyRuleB(list("lstAutoInterval"), stored("Auto", "Interval", "5")); });
    t([&] { applyRuleE(box("chkAutoCPU"), stored("Auto", "CPUCheck", "1")); });
    t([&] { fillNumbers(list("cmbAutoCPU"), 10, 100, 10); });
    t([&] { applyRuleB(list("cmbAutoCPU"), stored("Auto", "CPUPercent", "5")); });
    t([&] { applyRuleE(box("chkAutoActive"), stored("Auto", "Active", "1")); });
}

void Loaders::loadTime() {
    auto t = ctx_.trap(",loadTime");
    t([&] { fillNumbers(list("cmbTimeCPU"), 10, 100, 10); });
    t([&] { applyRuleA(list("lstTimeAmount"), stored("Time", "Release", "0")); });
    t([&] { applyTimeUnit(stored("Time", "Interval", "Minutes")); });
    t([&] { applyRuleC(list("lstTimeInterval"), stored("Time", "IntervalAmount", "5")); });
    t([&] { applyRuleE(box("chkTimeCPU"), stored("Time", "CPUCheck", "1")); });
    t([&] { applyRuleC(list("cmbTimeCPU"), stored("Time", "CPUPercent", "5")); });
    t([&] { applyRuleE(box("chkTimeActive"), stored("Time", "Active", "1")); });
}

// Rule H: select the unit, then run its handler, which fills the interval list even
// when selecting changed nothing.
void Loaders::applyTimeUnit(const std::string& v) {
    if (ruleHMeansMinutes(v)) {
        ctx_.frmMain.get<OptionButton>("optTimeMinute").setValue(true);
        timePage_.optTimeMinute_Click();
    } else {
        ctx_.frmMain.get<OptionButton>("optTimeHour").setValue(true);
        timePage_.optTimeHour_Click();
    }
}

void Loaders::loadStartup() {
    auto t = ctx_.trap(",loadStartup");
    applyRuleG(t, ctx_.frmMain, "optDisplay", stored("Startup", "Display", "0"));
    t([&] { applyRuleE(box("chkStartup"), stored("Startup", "AutoLaunch", "0")); });
    t([&] { applyRuleE(box("chkQuit"), stored("Startup", "Quit", "1")); });
    t([&] { applyRuleE(box("chkLowLevel"), stored("Startup", "LowLevel", "0")); });
    t([&] { applyRuleD(list("cmbStartupRam"), stored("Startup", "Release", "0")); });
    t([&] { fillNumbers(list("cmbStartupWait"), 1, 250, 1); });
    t([&] { applyRuleD(list("cmbStartupWait"), stored("Startup", "Wait", "0")); });
    t([&] { fillNumbers(list("cmbRetry"), 1, 20, 1); });
    t([&] { applyRuleD(list("cmbRetry"), stored("Startup", "Retry", "0")); });
    t([&] { applyRuleF(ctx_.frmMain, "optCPU", stored("Startup", "CPUUpdate", "2"), true); });
}

void Loaders::loadLauncher() {
    auto t = ctx_.trap(",loadLauncher");
    t([&] { fillNumbers(list("cmbLauncher"), 1, 5, 1); });
    t([&] { applyRuleC(list("cmbLauncher"), stored("Launcher", "Retry", "0")); });
    t([&] { applyRuleF(ctx_.frmMain, "optLauncher", stored("Launcher", "Freeup", "1"), false); });
    t([&] { loadProgramList(ctx_.platform.files, ctx_.programFile(kProgramListFile), list("lstLauncher")); });
}

}  // namespace qm
