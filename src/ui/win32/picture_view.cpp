#include "ui/win32/picture_view.h"

#include "ui/win32/form_window.h"

namespace qm::win32 {

namespace {

constexpr UINT kRaisePaint = WM_APP + 1;

// A 32-bit DIB header with the masks of the canvas's 0x00BBGGRR layout.
struct CanvasBitmapInfo {
    BITMAPINFOHEADER header;
    DWORD masks[3];
};

// Whether `window` and every window it sits in show, `changing` taken as `shown`.
bool seenWith(HWND window, HWND changing, bool shown) {
    for (HWND w = window; w; w = GetAncestor(w, GA_PARENT)) {
        const LONG style = GetWindowLongA(w, GWL_STYLE);
        if (!(w == changing ? shown : (style & WS_VISIBLE) != 0)) return false;
        if (!(style & WS_CHILD)) return true;
    }
    return false;
}

}  // namespace

void paintCanvas(HDC dc, const RECT& target, const Canvas& canvas) {
    if (canvas.width() <= 0 || canvas.height() <= 0) return;
    CanvasBitmapInfo info{};
    info.header.biSize = sizeof info.header;
    info.header.biWidth = canvas.width();
    info.header.biHeight = -canvas.height();  // top row first, as the canvas keeps it
    info.header.biPlanes = 1;
    info.header.biBitCount = 32;
    info.header.biCompression = BI_BITFIELDS;
    info.masks[0] = 0x000000FF;  // red
    info.masks[1] = 0x0000FF00;  // green
    info.masks[2] = 0x00FF0000;  // blue
    SetStretchBltMode(dc, COLORONCOLOR);
    StretchDIBits(dc, target.left, target.top, target.right - target.left, target.bottom - target.top, 0, 0,
                  canvas.width(), canvas.height(), canvas.pixels().data(), reinterpret_cast<BITMAPINFO*>(&info),
                  DIB_RGB_COLORS, SRCCOPY);
}

// The classic fixed single border is the sunken 2-pixel edge.
PictureView::PictureView(PictureBox& box, FormWindow& window) : ControlView(box, window), box_(box) {
    HWND self = create(kPictureClass, 0, box.hasBorder() ? WS_EX_CLIENTEDGE : 0);
    if (self) SetWindowLongPtrA(self, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(this));
    followScreen(nullptr, false);
}

// Drawing nobody can see is skipped by the core; the exposure as it shows raises Paint.
void PictureView::followScreen(HWND changing, bool shown) {
    box_.setOnScreen(hwnd() && seenWith(hwnd(), changing, shown));
}

// The pen colour only concerns later drawing. A graph draws many lines a tick; under Wine
// each invalidation is a server call, so the drawing is looked at once the burst is over.
void PictureView::mirror(Prop what) {
    if (what == Prop::ForeColor) return;
    if (what != Prop::BackColor) ControlView::mirror(what);
    if (!hwnd() || (what != Prop::Picture && what != Prop::Geometry && what != Prop::BackColor)) return;
    if (what != Prop::Picture) repaint_ = true;
    // A hidden picture is painted whole when it shows again.
    if (settling_ || !box_.onScreen()) return;
    settling_ = true;
    window().settleLater(id());
}

void PictureView::drawingSettled() {
    settling_ = false;
    if (!box_.onScreen()) return;
    if (!repaint_ && canvasFingerprint(box_.image()) == shown_) return;
    repaint_ = false;
    expectingOwnPaint_ = true;
    InvalidateRect(hwnd(), nullptr, FALSE);
}

void PictureView::paint() {
    PAINTSTRUCT ps;
    HDC dc = BeginPaint(hwnd(), &ps);
    RECT client;
    GetClientRect(hwnd(), &client);
    HBRUSH back = CreateSolidBrush(toColorRef(box_.backColor()));
    FillRect(dc, &client, back);
    DeleteObject(back);
    paintCanvas(dc, client, box_.image());
    shown_ = canvasFingerprint(box_.image());
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
