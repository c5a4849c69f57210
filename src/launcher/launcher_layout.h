#pragma once
// The design of frmLauncher, the program-list editor: its list, its five buttons and the
// filter of its open dialog. Both desktops build the window from this.
#include "base/catalogue.h"
#include "forms/form.h"

namespace qm {

inline constexpr const char* kLauncherCaption = N_("Configure Launcher Programs");
inline constexpr const char* kProgramFilter = N_("EXE Files (*.exe)|*.exe");

// Declares every control of frmLauncher.
void declareLauncherLayout(Form& frmLauncher);

}  // namespace qm
