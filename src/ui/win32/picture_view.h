#pragma once
// A drawing surface: the core draws into the picture box's canvas; this window only
// shows it, scaled to the control's rectangle at the system DPI.
#include <vector>

#include "forms/picture_box.h"
#include "ui/win32/control_view.h"

namespace qm::win32 {

class PictureView : public ControlView {
public:
    PictureView(PictureBox& box, FormWindow& window);
    LRESULT handle(UINT msg, WPARAM wp, LPARAM lp);

protected:
    void mirror(Prop what) override;

private:
    void paint();
    const std::vector<uint32_t>& pixels();

    PictureBox& box_;
    std::vector<uint32_t> pixels_;
    bool changed_ = true;
    bool expectingOwnPaint_ = false;
    bool invalidated_ = false;  // a paint is already due
};

// The canvas's 0x00BBGGRR pixels as a 32-bit DIB wants them (0x00RRGGBB).
std::vector<uint32_t> dibPixels(const Canvas& canvas);
// Paints a canvas into a rectangle, scaled (a top-down 32-bit DIB).
void paintCanvas(HDC dc, const RECT& target, const Canvas& canvas, const std::vector<uint32_t>& pixels);

}  // namespace qm::win32
