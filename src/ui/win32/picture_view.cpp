#include "ui/win32/picture_view.h"

#include <algorithm>

#include "ui/win32/form_window.h"

namespace qm::win32 {

namespace {

constexpr UINT kRaisePaint = WM_APP + 1;

}  // namespace

std::vector<uint32_t> dibPixels(const Canvas& canvas) {
    std::vector<uint32_t> out(canvas.pixels().size());
    std::transform(canvas.pixels().begin(), canvas.pixels().end(), out.begin(), [](uint32_t c) {
        return ((c & 0xFFu) << 16) | (c & 0xFF00u) | ((c >> 16) & 0xFFu);
    });
    return out;
}

void paintCanvas(HDC dc, const RECT& target, const Canvas& canvas, const std::vector<uint32_t>& pixels) {
    if (canvas.width() <= 0 || canvas.height() <= 0) return;
    BITMAPINFO info{};
    info.bmiHeader.biSize = sizeof info.bmiHeader;
    info.bmiHeader.biWidth = canvas.width();
    info.bmiHeader.biHeight = -canvas.height();  // top row first, as the canvas keeps it
    info.bmiHeader.biPlanes = 1;
    info.bmiHeader.biBitCount = 32;
    info.bmiHeader.biCompression = BI_RGB;
    SetStretchBltMode(dc, COLORONCOLOR);
    StretchDIBits(dc, target.left, target.top, target.right - target.left, target.bottom - target.top, 0, 0,
                  canvas.width(), canvas.height(), pixels.data(), &info, DIB_RGB_COLORS, SRCCOPY);
}

// The classic fixed single border is the sunken 2-pixel edge.
PictureView::PictureView(PictureBox& box, FormWindow& window) : ControlView(box, window), box_(box) {
    HWND self = create(kPictureClass, 0, box.hasBorder() ? WS_EX_CLIENTEDGE : 0);
    if (self) SetWindowLongPtrA(self, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(this));
}

void PictureView::mirror(Prop what) {
    ControlView::mirror(what);
    if (!hwnd() || (what != Prop::Picture && what != Prop::Geometry && what != Prop::BackColor)) return;
    changed_ = true;
    expectingOwnPaint_ = true;
    // A graph draws many lines a tick; under Wine each invalidation is a server call, and
    // one pending paint already shows them all.
    if (invalidated_) return;
    invalidated_ = true;
    InvalidateRect(hwnd(), nullptr, FALSE);
}

const std::vector<uint32_t>& PictureView::pixels() {
    if (changed_) pixels_ = dibPixels(box_.image());
    changed_ = false;
    return pixels_;
}

void PictureView::paint() {
    invalidated_ = false;
    PAINTSTRUCT ps;
    HDC dc = BeginPaint(hwnd(), &ps);
    RECT client;
    GetClientRect(hwnd(), &client);
    HBRUSH back = CreateSolidBrush(toColorRef(box_.backColor()));
    FillRect(dc, &client, back);
    DeleteObject(back);
    paintCanvas(dc, client, box_.image(), pixels());
    EndPaint(hwnd(), &ps);
}

// A paint the model did not cause is an exposure: the classic Paint event, raised after
// the painting so the core's drawing never runs inside it.
LRESULT PictureView::handle(UINT msg, WPARAM wp, LPARAM lp) {
    switch (msg) {
        case WM_PAINT:
            if (!expectingOwnPaint_) PostMessageA(hwnd(), kRaisePaint, 0, 0);
            expectingOwnPaint_ = false;
            paint();
            return 0;
        case WM_ERASEBKGND: return 1;
        case kRaisePaint: userAction([this] { box_.raisePaint(); }, Prop::Picture); return 0;
        default: return DefWindowProcA(hwnd(), msg, wp, lp);
    }
}

}  // namespace qm::win32
