#pragma once
// The design of frmLauncher, the program-list editor: its list, its five buttons and the
// filter of its open dialog. Both desktops build the window from this.
#include "forms/form.h"

namespace qm {

inline constexpr const char* kLauncherCaption = "Configure Launcher Programs";
inline constexpr const char* kProgramFilter = "EXE Files (*.exe)|*.exe";

// Declares every control of frmLauncher.
void declareLauncherLayout(Form& frmLauncher);

}  // namespace qm
