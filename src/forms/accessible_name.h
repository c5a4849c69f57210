#pragma once
// The name a screen reader gives a control, the same on every desktop. Controls that show
// their own caption are named by it; a list, drop-down, picture or graph takes its own
// description, else the caption of the control that labels it: the one named in the layout,
// or the label (or check box) declared right before it in the same container, which is
// where a reader of the classic desktop looks too.
#include <string>

#include "forms/control.h"

namespace qm {

// A caption as shown: access-key marks removed ("&&" is one '&').
std::string withoutAccessKeys(const std::string& caption);

// The control whose caption names `control` (null when none does).
const Control* labelOf(const Control& control);

// The name a control takes from elsewhere: its description, or its label's caption. ""
// when its own caption names it (a desktop reads that by itself) or nothing names it.
std::string borrowedName(const Control& control);

// The whole name: the borrowed one, else the control's own caption ("" when nothing names it).
std::string accessibleName(const Control& control);

}  // namespace qm
