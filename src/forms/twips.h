#pragma once
// Twips (1/1440 inch) to screen pixels at the screen's DPI, one rule for every host.
#include <cmath>

namespace qm {

// A rectangle in pixels; right and bottom lie just outside it.
struct PixelRect {
    int left = 0;
    int top = 0;
    int right = 0;
    int bottom = 0;
    int width() const { return right - left; }
    int height() const { return bottom - top; }
    bool operator==(const PixelRect&) const = default;
};

struct TwipScale {
    double dpiX = 96;
    double dpiY = 96;

    int x(int twips) const { return static_cast<int>(std::lround(twips * dpiX / 1440.0)); }
    int y(int twips) const { return static_cast<int>(std::lround(twips * dpiY / 1440.0)); }
    // Edges are converted, not sizes, so controls that meet in twips meet in pixels too.
    PixelRect rect(int left, int top, int width, int height) const {
        return {x(left), y(top), x(left + width), y(top + height)};
    }
    double twipsPerPixelX() const { return 1440.0 / dpiX; }
    double twipsPerPixelY() const { return 1440.0 / dpiY; }
};

}  // namespace qm
