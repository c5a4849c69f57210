#pragma once
// The names of frmAutoUpdate's controls that its design declares and its behaviour uses.
#include "forms/form.h"

namespace qm::updateForm {

inline constexpr ControlName<ListView> ListView1{"ListView1"};
inline constexpr ControlName<StatusBar> StatusBar1{"StatusBar1"};
inline constexpr ControlName<CommandButton> cmdProceed{"cmdProceed"};
inline constexpr ControlName<CommandButton> cmdCancel{"cmdCancel"};

}  // namespace qm::updateForm
