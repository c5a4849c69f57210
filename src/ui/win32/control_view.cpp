#include "ui/win32/control_view.h"

#include <commctrl.h>

#include <cmath>
#include <cstdio>

#include "forms/accessible_name.h"
#include "ui/win32/form_window.h"

namespace qm::win32 {

COLORREF toColorRef(Color c) { return RGB(redOf(c), greenOf(c), blueOf(c)); }

namespace {

// One memory DC for every measurement, kept for the run: under Wine each new screen-compatible
// DC looks the display devices up again (a round of registry and window-station calls).
HDC measuringDc() {
    static const HDC dc = CreateCompatibleDC(nullptr);
    return dc;
}

// A caption's size in pixels with the given font: on one line, or wrapped at `wrapAt` the
// way a STATIC control wraps it.
SIZE textSize(HFONT font, const std::string& text, int wrapAt = 0) {
    HDC dc = measuringDc();
    HGDIOBJ old = SelectObject(dc, font);
    SIZE size{};
    if (wrapAt > 0) {
        RECT r{0, 0, wrapAt, 0};
        DrawTextA(dc, text.c_str(), -1, &r, DT_CALCRECT | DT_WORDBREAK | DT_EXPANDTABS | DT_NOPREFIX);
        size = {r.right - r.left, r.bottom - r.top};
    } else {
        GetTextExtentPoint32A(dc, text.c_str(), static_cast<int>(text.size()), &size);
    }
    SelectObject(dc, old);
    return size;
}

}  // namespace

// Each invalidation is a server call under Wine, and a form's controls get several while it
// is built, before it shows.
void invalidateShown(HWND hwnd) {
    if (IsWindowVisible(hwnd)) InvalidateRect(hwnd, nullptr, TRUE);
}

void reportStray(const std::string& who, const char* what) {
    char text[512];
    std::snprintf(text, sizeof text, "quillmere: %s: %s\n", who.c_str(), what);
    OutputDebugStringA(text);
}

ControlView::ControlView(Control& control, FormWindow& window)
    : control_(control), window_(window), id_(window.allocateId()) {
    subscription_ = control.subscribe([this](Control& subject, Prop what) {
        if (&subject != &control_ || detached_) return;
        if (what == Prop::Caption && window_.holdsCaption(control_)) return;  // a server call nobody sees
        mirrorModelChange(what);
    });
}

void ControlView::mirrorModelChange(Prop what) {
    ++mirroring_;
    mirror(what);
    --mirroring_;
}

void ControlView::showHeldCaption() {
    if (!detached_) mirrorModelChange(Prop::Caption);
}

ControlView::~ControlView() {
    if (!detached_) control_.unsubscribe(subscription_);
    if (hwnd_) DestroyWindow(hwnd_);
    if (brush_) DeleteObject(brush_);
}

void ControlView::detach() {
    screenReaders_.clear();
    control_.unsubscribe(subscription_);
    detached_ = true;
    if (hwnd_) ShowWindow(hwnd_, SW_HIDE);
}

const Scale& ControlView::scale() const { return window_.scale(); }

HWND ControlView::parentWindow() const { return window_.containerOf(control_.parent()); }

RECT ControlView::rectPx() const {
    const TwipBox box = shownBox();
    return toRect(scale().rect(box.left, box.top, box.width, box.height));
}

// Measured with the font the control is given, so the box is right before the font arrives.
TwipBox ControlView::shownBox() const {
    if (captionFit_ == CaptionFit::None) return designBox(control_);
    HFONT f = window_.font(control_.fontName(), control_.fontSize(), control_.fontBold());
    const std::string text = withoutAccessKeys(control_.shownCaption());
    const Scale& s = scale();
    if (captionFit_ == CaptionFit::Wrapped) {
        const auto pixelsWide = [&](int twips) { return s.x(control_.left() + twips) - s.x(control_.left()); };
        return fitWrapped(control_, [&](int width) {
            return static_cast<int>(std::ceil(textSize(f, text, pixelsWide(width)).cy * s.twipsPerPixelY()));
        });
    }
    const int needs = textSize(f, text).cx + besideCaption();
    return fitOneLine(control_, static_cast<int>(std::ceil(needs * s.twipsPerPixelX())));
}

// A list box or a picture shows no window text: there it is the name a screen reader reads
// (a drop-down's window text is its selection, so it keeps that).
std::string ControlView::windowText() const {
    const ControlKind kind = control_.kind();
    if (kind == ControlKind::ListBox || kind == ControlKind::PictureBox) return accessibleName(control_);
    return control_.shownCaption();
}

// A push button's raised border, or a check box's box (an option's circle) and the gap after it.
int ControlView::besideCaption() const {
    const int dpi = static_cast<int>(std::lround(scale().dpiX));
    if (captionFit_ == CaptionFit::Indicator) return GetSystemMetrics(SM_CXMENUCHECK) + MulDiv(4, dpi, 96);
    return captionFit_ == CaptionFit::Button ? MulDiv(8, dpi, 96) : 0;
}

// Children clip their siblings, so overlapping controls paint in their z-order; later
// declarations lie on top, as on a classic form (a new child goes to the bottom). Made with
// its text, visibility and state, so the first mirroring has nothing left to send: under
// Wine each change is a server call, several per control of a form of many.
HWND ControlView::create(const char* windowClass, DWORD style, DWORD exStyle) {
    const RECT r = rectPx();
    if (control_.visible()) style |= WS_VISIBLE;
    if (!control_.enabled()) style |= WS_DISABLED;
    hwnd_ = CreateWindowExA(exStyle, windowClass, windowText().c_str(), style | WS_CHILD | WS_CLIPSIBLINGS, r.left, r.top,
                            r.right - r.left, r.bottom - r.top, parentWindow(),
                            reinterpret_cast<HMENU>(static_cast<INT_PTR>(id_)), GetModuleHandleA(nullptr), nullptr);
    if (hwnd_) SetWindowPos(hwnd_, HWND_TOP, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE);
    // A control is read by the name and role the core gives it (a caption of its own, else
    // the label beside it).
    const long role = accessibleRole(control_.kind());
    if (hwnd_ && role) nameForScreenReaders(hwnd_, role);
    return hwnd_;
}

void ControlView::nameForScreenReaders(HWND part, long role) {
    auto name = [this] { return accessibleName(control_); };
    screenReaders_.push_back(std::make_unique<ScreenReaderName>(part, role, name));
}

void ControlView::mirrorAll() {
    ++mirroring_;
    for (Prop p : kViewProps) mirror(p);
    --mirroring_;
}

void ControlView::mirror(Prop what) {
    if (!hwnd_) return;
    switch (what) {
        case Prop::Caption: mirrorCaption(); break;
        case Prop::Geometry: mirrorGeometry(); break;
        case Prop::Visible: mirrorVisible(); break;
        case Prop::Enabled:
            if (!IsWindowEnabled(hwnd_) != !control_.enabled()) EnableWindow(hwnd_, control_.enabled());
            break;
        case Prop::ForeColor:
        case Prop::BackColor: invalidateShown(hwnd_); break;
        case Prop::ToolTip: mirrorToolTip(); break;
        case Prop::Font:
            mirrorFont();
            refitCaption();
            break;
        case Prop::ZOrder: mirrorZOrder(); break;
        default: break;
    }
}

// Figures are set every tick, mostly to the text they already show.
bool ControlView::mirrorCaption() {
    if (!hwnd_) return false;
    const std::string text = windowText();
    const int length = GetWindowTextLengthA(hwnd_);
    std::string shown(static_cast<size_t>(length) + 1, '\0');
    shown.resize(static_cast<size_t>(GetWindowTextA(hwnd_, shown.data(), length + 1)));
    if (shown == text) return false;
    SetWindowTextA(hwnd_, text.c_str());
    refitCaption();
    return true;
}

bool ControlView::mirrorVisible() {
    if (!hwnd_) return false;
    const bool shown = (GetWindowLongA(hwnd_, GWL_STYLE) & WS_VISIBLE) != 0;
    if (shown == control_.visible()) return false;
    ShowWindow(hwnd_, control_.visible() ? SW_SHOWNA : SW_HIDE);
    window_.followScreen(hwnd_, control_.visible());
    return true;
}

void ControlView::mirrorGeometry() { moveTo(rectPx()); }

// A box moves only when it changes: a new text mostly keeps its size.
void ControlView::moveTo(const RECT& r) {
    RECT now;
    GetWindowRect(hwnd_, &now);
    MapWindowPoints(HWND_DESKTOP, GetParent(hwnd_), reinterpret_cast<POINT*>(&now), 2);
    if (EqualRect(&r, &now)) return;
    MoveWindow(hwnd_, r.left, r.top, r.right - r.left, r.bottom - r.top, TRUE);
}

void ControlView::refitCaption() {
    if (captionFit_ != CaptionFit::None) moveTo(rectPx());
}

void ControlView::mirrorFont() {
    HFONT f = window_.font(control_.fontName(), control_.fontSize(), control_.fontBold());
    SendMessageA(hwnd_, WM_SETFONT, reinterpret_cast<WPARAM>(f), TRUE);
}

void ControlView::mirrorZOrder() {
    if (control_.zOrder() == 0) return;
    SetWindowPos(hwnd_, control_.zOrder() > 0 ? HWND_TOP : HWND_BOTTOM, 0, 0, 0, 0,
                 SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE);
}

// A tip that changes every tick (a gauge's last value) keeps its tool: adding one subclasses
// the control anew, a round of window-property calls each time.
void ControlView::mirrorToolTip() {
    TTTOOLINFOA tool{};
    tool.cbSize = sizeof tool;
    tool.uFlags = TTF_IDISHWND | TTF_SUBCLASS;
    tool.hwnd = window_.hwnd();
    tool.uId = reinterpret_cast<UINT_PTR>(hwnd_);
    std::string tip = control_.shownToolTip();
    tool.lpszText = tip.data();
    const bool wanted = !tip.empty();
    if (!wanted && !hasTool_) return;
    HWND tips = window_.toolTips();
    if (wanted && hasTool_) {
        SendMessageA(tips, TTM_UPDATETIPTEXTA, 0, reinterpret_cast<LPARAM>(&tool));
        return;
    }
    SendMessageA(tips, wanted ? TTM_ADDTOOLA : TTM_DELTOOLA, 0, reinterpret_cast<LPARAM>(&tool));
    hasTool_ = wanted;
}

void ControlView::repaintArea() const {
    HWND container = parentWindow();
    if (!IsWindowVisible(container)) return;
    RECT r = rectPx();
    RedrawWindow(container, &r, nullptr, RDW_INVALIDATE | RDW_ERASE | RDW_ALLCHILDREN);
}

HBRUSH ControlView::backBrush() const {
    const Color back = control_.backColor();
    if (back == kSystemBack) return GetSysColorBrush(COLOR_BTNFACE);
    if (!brush_ || brushColor_ != back) {
        if (brush_) DeleteObject(brush_);
        brush_ = CreateSolidBrush(toColorRef(back));
        brushColor_ = back;
    }
    return brush_;
}

HBRUSH ControlView::colors(HDC dc) {
    SetTextColor(dc, control_.foreColor() == kSystemText ? GetSysColor(COLOR_BTNTEXT) : toColorRef(control_.foreColor()));
    SetBkColor(dc, control_.backColor() == kSystemBack ? GetSysColor(COLOR_BTNFACE) : toColorRef(control_.backColor()));
    return backBrush();
}

void ControlView::userAction(const std::function<void()>& action, Prop resync) {
    if (mirroring_ > 0 || detached_) return;
    try {
        action();
    } catch (const std::exception& e) {
        reportStray(control_.name(), e.what());
    }
    if (detached_) return;
    ++mirroring_;
    mirror(resync);
    --mirroring_;
}

}  // namespace qm::win32
