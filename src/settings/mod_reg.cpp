#include "settings/mod_reg.h"

namespace qm {

std::string runCommand(const std::string& exePath) {
    if (exePath.find(' ') == std::string::npos) return exePath;
    return '"' + exePath + '"';
}

modReg::modReg(SubsystemContext& ctx, SettingsFile& settings) : ctx_(ctx), settings_(settings) {
    ctx.frmMain.get<CheckBox>("chkStartup").onClick = [this] { chkStartup_Click(); };
}

void modReg::regSetValue(uint32_t hive, const std::string& keyPath, const std::string& valueName,
                         const std::string& data) {
    // Failures come back as result codes only, and are not reported further.
    RegistryPort& registry = ctx_.platform.registry;
    Trap t(ctx_.log, "modReg,regSetValue");
    RegHandle key = 0;
    long opened = -1;
    t([&] { opened = registry.openKey(hive, keyPath, KEY_WRITE_, key); });
    if (opened == ERROR_SUCCESS_) t([&] { registry.setValue(key, valueName, RegValue{REG_SZ_, data + '\0'}); });
    t([&] { registry.closeKey(key); });
}

void modReg::deleteValue(uint32_t hive, const std::string& valueName, const std::string& keyPath) {
    RegistryPort& registry = ctx_.platform.registry;
    Trap t(ctx_.log, "modReg,deleteValue");
    RegHandle key = 0;
    long opened = -1;
    t([&] { opened = registry.openKey(hive, keyPath, KEY_WRITE_, key); });
    if (opened == ERROR_SUCCESS_) t([&] { registry.deleteValue(key, valueName); });
    t([&] { registry.closeKey(key); });
}

void modReg::chkStartup_Click() {
    auto t = ctx_.trap(",chkStartup_Click");
    const int state = ctx_.frmMain.get<CheckBox>("chkStartup").value();
    if (state == 1) {
        t([&] { regSetValue(HKEY_LOCAL_MACHINE_, kRunKey, kRunValueName, runCommand(ctx_.platform.programFolder.exePath())); });
    } else {
        t([&] { deleteValue(HKEY_LOCAL_MACHINE_, kRunValueName, kRunKey); });
    }
    t([&] { settings_.writeKeyAlways("Startup", "AutoLaunch", state); });
}

}  // namespace qm
