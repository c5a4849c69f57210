#pragma once
// Twips to pixels at the system DPI, the way classic forms were laid out.
#include <windows.h>

namespace qm::win32 {

struct Scale {
    int dpiX = 96;
    int dpiY = 96;
    int x(int twips) const { return MulDiv(twips, dpiX, 1440); }
    int y(int twips) const { return MulDiv(twips, dpiY, 1440); }
    double twipsPerPixelX() const { return 1440.0 / dpiX; }
    double twipsPerPixelY() const { return 1440.0 / dpiY; }
    RECT rect(int left, int top, int width, int height) const {
        return RECT{x(left), y(top), x(left) + x(width), y(top) + y(height)};
    }
};

// The screen's logical DPI (LOGPIXELSX / LOGPIXELSY).
inline Scale systemScale() {
    HDC screen = GetDC(nullptr);
    Scale s{GetDeviceCaps(screen, LOGPIXELSX), GetDeviceCaps(screen, LOGPIXELSY)};
    ReleaseDC(nullptr, screen);
    if (s.dpiX <= 0) s.dpiX = 96;
    if (s.dpiY <= 0) s.dpiY = 96;
    return s;
}

}  // namespace qm::win32
