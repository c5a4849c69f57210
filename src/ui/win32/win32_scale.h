#pragma once
// The twips rule at the system DPI, the way classic forms were laid out.
#include <windows.h>

#include "forms/twips.h"

namespace qm::win32 {

using Scale = TwipScale;

inline RECT toRect(const PixelRect& r) { return RECT{r.left, r.top, r.right, r.bottom}; }

// The screen's logical DPI (LOGPIXELSX / LOGPIXELSY).
inline Scale systemScale() {
    HDC screen = GetDC(nullptr);
    const int dpiX = GetDeviceCaps(screen, LOGPIXELSX);
    const int dpiY = GetDeviceCaps(screen, LOGPIXELSY);
    ReleaseDC(nullptr, screen);
    return Scale{dpiX > 0 ? dpiX : 96.0, dpiY > 0 ? dpiY : 96.0};
}

}  // namespace qm::win32
