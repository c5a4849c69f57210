#pragma once
// What every subsystem of the main window is handed: the window system, the machine,
// the error log and the main window's controls. Running values are not here: each one
// lives in the subsystem that owns it.
#include <string>

#include "base/trap.h"
#include "forms/form.h"
#include "context/main_controls.h"
#include "forms/host.h"
#include "platform/platform.h"

namespace qm {

inline constexpr const char* kAppTitle = "Quillmere";
// The version the window's title shows.
inline constexpr const char* kTitleVersion = "v1.0";

struct SubsystemContext {
    Host& host;
    Platform& platform;
    ErrorSink& log;
    Form& frmMain;

    // The full path of a file in the program folder.
    std::string programFile(const std::string& fileName) const {
        return platform.programFolder.folder() + platform.programFolder.separator() + fileName;
    }
    // A trap for a procedure of the main window (",Form_Load" gives "frmMain,Form_Load").
    // The label must outlive the trap: a literal, or a text its caller keeps.
    Trap trap(const char* label) const { return Trap(log, frmMain.name(), label); }
    Trap trap(const std::string& label) const { return Trap(log, frmMain.name(), label); }
    Trap trap(std::string&&) const = delete;
    // A message box captioned with the application title.
    int message(const std::string& prompt, int style) const { return host.msgBox(prompt, style, kAppTitle); }
};

}  // namespace qm
