#pragma once
// Twips (1/1440 inch) to screen pixels at the screen's real DPI, so a window keeps its
// proportions on a high-DPI screen.
#include <QRect>
#include <cmath>

namespace qm::qt {

struct TwipScale {
    double dpiX = 96;
    double dpiY = 96;

    int x(int twips) const { return static_cast<int>(std::lround(twips * dpiX / 1440.0)); }
    int y(int twips) const { return static_cast<int>(std::lround(twips * dpiY / 1440.0)); }
    // Edges are converted, not sizes, so neighbouring controls never gain or lose a gap.
    QRect rect(int left, int top, int width, int height) const {
        return QRect(QPoint(x(left), y(top)), QPoint(x(left + width) - 1, y(top + height) - 1));
    }
    double twipsPerPixelX() const { return 1440.0 / dpiX; }
    double twipsPerPixelY() const { return 1440.0 / dpiY; }
};

// The scale of the primary screen (96 dpi when there is none).
TwipScale screenScale();

}  // namespace qm::qt
