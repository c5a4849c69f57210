#include "settings/mod_reg.h"

#include "settings/registry_strings.h"
#include "settings/startup_options.h"

namespace qm {

std::string runCommand(const std::string& exePath) {
    if (exePath.find(' ') == std::string::npos) return exePath;
    return '"' + exePath + '"';
}

modReg::modReg(SubsystemContext& ctx, SettingsFile& settings) : ctx_(ctx), settings_(settings) {
    ctx.frmMain.get(mainForm::chkStartup).onClick = [this] { chkStartup_Click(); };
}

void modReg::regSetValue(uint32_t hive, const std::string& keyPath, const std::string& valueName,
                         const std::string& data) {
    Trap t(ctx_.log, "modReg,regSetValue");
    setRegString(ctx_.platform.registry, hive, keyPath, valueName, data, &t);
}

void modReg::deleteValue(uint32_t hive, const std::string& keyPath, const std::string& valueName) {
    Trap t(ctx_.log, "modReg,deleteValue");
    deleteRegValue(ctx_.platform.registry, hive, keyPath, valueName, &t);
}

void modReg::chkStartup_Click() {
    auto t = ctx_.trap(",chkStartup_Click");
    const int state = ctx_.frmMain.get(mainForm::chkStartup).value();
    if (state == 1) {
        t([&] { regSetValue(HKEY_LOCAL_MACHINE_, kRunKey, kRunValueName, runCommand(ctx_.platform.programFolder.exePath())); });
    } else {
        t([&] { deleteValue(HKEY_LOCAL_MACHINE_, kRunKey, kRunValueName); });
    }
    storeOption(t, ctx_.frmMain, settings_, rowOf(kStartupOptions, mainForm::chkStartup));
}

}  // namespace qm
