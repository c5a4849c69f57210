#pragma once
// The names of frmLauncher's controls that its design declares and its behaviour uses.
#include "forms/form.h"

namespace qm::launcherForm {

inline constexpr ControlName<ListBox> lstPrograms{"lstPrograms"};
inline constexpr ControlName<CommandButton> cmdAdd{"cmdAdd"};
inline constexpr ControlName<CommandButton> cmdRemove{"cmdRemove"};
inline constexpr ControlName<CommandButton> cmdRun{"cmdRun"};
inline constexpr ControlName<CommandButton> cmdSave{"cmdSave"};
inline constexpr ControlName<CommandButton> cmdCancel{"cmdCancel"};

}  // namespace qm::launcherForm
