#pragma once
// A drawing surface: the core draws into the picture box's canvas; this window only
// shows it, scaled to the control's rectangle at the system DPI. The canvas is painted
// straight from the core's pixels, and a burst of drawing that leaves them as they were
// shown (a gauge redrawn with the same value) paints nothing.
#include <cstdint>

#include "forms/picture_box.h"
#include "ui/win32/control_view.h"

namespace qm::win32 {

class PictureView : public ControlView {
public:
    PictureView(PictureBox& box, FormWindow& window);
    LRESULT handle(UINT msg, WPARAM wp, LPARAM lp);
    void drawingSettled() override;
    void followScreen(HWND changing, bool shown) override;

protected:
    void mirror(Prop what) override;

private:
    void paint();

    PictureBox& box_;
    uint64_t shown_ = 0;        // fingerprint of the pixels last painted
    bool repaint_ = true;       // painted whatever the pixels (size or back colour changed)
    bool settling_ = false;     // drawingSettled is due
    bool expectingOwnPaint_ = false;
};

// Paints a canvas into a rectangle, scaled, from its own 0x00BBGGRR pixels.
void paintCanvas(HDC dc, const RECT& target, const Canvas& canvas);

}  // namespace qm::win32
