#pragma once
// The twips rule at the screen's real DPI, so a window keeps its proportions on a
// high-DPI screen.
#include <QRect>

#include "forms/twips.h"

namespace qm::qt {

using qm::TwipScale;

// The scale of the primary screen (96 dpi when there is none).
TwipScale screenScale();

inline QRect toQRect(const PixelRect& r) { return QRect(r.left, r.top, r.width(), r.height()); }

}  // namespace qm::qt
