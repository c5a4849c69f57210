#pragma once
// modReg: the "Automatically launch" box that registers the program under Run, and its two
// registry steps, which log their errors under their own labels.
#include <cstdint>
#include <string>

#include "context/subsystem_context.h"
#include "settings/settings_file.h"

namespace qm {

inline constexpr const char* kRunKey = "Software\\Microsoft\\Windows\\CurrentVersion\\Run";
inline constexpr const char* kRunValueName = "Quillmere";

// The Run value's data: the program path, quoted when it holds a blank, so that a folder
// like "C:\Program Files" never makes the system start "C:\Program.exe".
std::string runCommand(const std::string& exePath);

class modReg {
public:
    modReg(SubsystemContext& ctx, SettingsFile& settings);

    // Sets a string value of an existing key (a missing key is not created).
    void regSetValue(uint32_t hive, const std::string& keyPath, const std::string& valueName,
                     const std::string& data);
    // Deletes a value of an existing key.
    void deleteValue(uint32_t hive, const std::string& keyPath, const std::string& valueName);

    // Runs also while loading, so the Run value follows the program's path at every start.
    void chkStartup_Click();

private:
    SubsystemContext& ctx_;
    SettingsFile& settings_;
};

}  // namespace qm
