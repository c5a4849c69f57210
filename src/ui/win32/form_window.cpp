#include "ui/win32/form_window.h"

#include <commctrl.h>

#include <algorithm>
#include <cmath>
#include <utility>

#include "ui/win32/basic_views.h"
#include "ui/win32/list_views.h"
#include "ui/win32/resources.h"
#include "ui/win32/picture_view.h"
#include "ui/win32/win32_host.h"

namespace qm::win32 {

namespace {

constexpr DWORD kFormStyle = WS_OVERLAPPED | WS_CAPTION | WS_SYSMENU | WS_MINIMIZEBOX;

template <class T>
T* userData(HWND hwnd) {
    return reinterpret_cast<T*>(GetWindowLongPtrA(hwnd, GWLP_USERDATA));
}

LRESULT CALLBACK formProc(HWND hwnd, UINT msg, WPARAM wp, LPARAM lp) {
    if (msg == WM_NCCREATE) {
        auto* create = reinterpret_cast<CREATESTRUCTA*>(lp);
        SetWindowLongPtrA(hwnd, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(create->lpCreateParams));
    }
    FormWindow* self = userData<FormWindow>(hwnd);
    return self && self->hwnd() == hwnd ? self->handle(msg, wp, lp) : DefWindowProcA(hwnd, msg, wp, lp);
}

LRESULT CALLBACK containerProc(HWND hwnd, UINT msg, WPARAM wp, LPARAM lp) {
    FrameView* view = userData<FrameView>(hwnd);
    return view && view->hwnd() == hwnd ? view->handle(msg, wp, lp) : DefWindowProcA(hwnd, msg, wp, lp);
}

LRESULT CALLBACK pictureProc(HWND hwnd, UINT msg, WPARAM wp, LPARAM lp) {
    PictureView* view = userData<PictureView>(hwnd);
    return view && view->hwnd() == hwnd ? view->handle(msg, wp, lp) : DefWindowProcA(hwnd, msg, wp, lp);
}

void registerClass(const char* name, WNDPROC proc, HICON icon) {
    WNDCLASSA wc{};
    wc.lpfnWndProc = proc;
    wc.hInstance = GetModuleHandleA(nullptr);
    wc.hCursor = LoadCursor(nullptr, IDC_ARROW);
    wc.hbrBackground = reinterpret_cast<HBRUSH>(COLOR_BTNFACE + 1);
    wc.hIcon = icon;
    wc.lpszClassName = name;
    wc.style = CS_DBLCLKS;
    RegisterClassA(&wc);
}

}  // namespace

void registerWindowClasses() {
    static const bool done = [] {
        INITCOMMONCONTROLSEX icc{sizeof icc, ICC_WIN95_CLASSES | ICC_TAB_CLASSES | ICC_LISTVIEW_CLASSES |
                                                 ICC_BAR_CLASSES | ICC_STANDARD_CLASSES};
        InitCommonControlsEx(&icc);
        registerClass(kFormClass, formProc, resourceIcon("quillmere", 32));
        registerClass(kContainerClass, containerProc, nullptr);
        registerClass(kPictureClass, pictureProc, nullptr);
        return true;
    }();
    (void)done;
}

FormWindow::FormWindow(Form& form, Win32Host& host)
    : FormMirror(form, systemScale(), reportStray), host_(host), menus_(form) {
    registerWindowClasses();
    hwnd_ = CreateWindowExA(0, kFormClass, form.shownCaption().c_str(), kFormStyle, CW_USEDEFAULT, CW_USEDEFAULT, 100,
                            100, nullptr, nullptr, GetModuleHandleA(nullptr), this);
    for (int size : {16, 32}) {
        SendMessageA(hwnd_, WM_SETICON, size == 16 ? ICON_SMALL : ICON_BIG,
                     reinterpret_cast<LPARAM>(resourceIcon(form.iconResource(), size)));
    }
    menus_.attachTo(hwnd_);
    menus_.onBarChanged = [this] { applyClientSize(); };
    follow();
}

FormWindow::~FormWindow() {
    stopFollowing();
    if (hwnd_) DestroyWindow(hwnd_);
    for (auto& [key, f] : fonts_) DeleteObject(f);
    for (auto& [name, bitmap] : bitmaps_) DeleteObject(bitmap);
}

// Menus belong to the window's menu bar, which changes item by item as they come and go.
void FormWindow::addView(Control& control) {
    if (control.kind() == ControlKind::Menu) {
        menus_.watch(static_cast<Menu&>(control));
        return;
    }
    if (ControlView* view = adopt(control, makeView(control, *this))) byId_[view->id()] = view;
}

// The view may be in the middle of its own message: it is destroyed once that is over.
void FormWindow::removeView(Control& control) {
    if (control.kind() == ControlKind::Menu) {
        menus_.forget(static_cast<Menu&>(control));
        return;
    }
    std::unique_ptr<ControlView> view = release(control);
    if (!view) return;
    byId_.erase(view->id());
    graveyard_.push_back(std::move(view));
    PostMessageA(hwnd_, kBuryViews, 0, 0);
}

HWND FormWindow::containerOf(const Control* parent) const {
    ControlView* view = parent ? viewOf(parent) : nullptr;
    return view && view->container() ? view->container() : hwnd_;
}

ControlView* FormWindow::viewOfWindow(HWND child) const {
    auto it = byId_.find(GetDlgCtrlID(child));
    return it != byId_.end() && it->second->hwnd() == child ? it->second : nullptr;
}

HFONT FormWindow::font(const std::string& name, double size, bool bold) {
    const int tenths = static_cast<int>(std::lround((size > 0 ? size : 8) * 10));
    auto key = std::make_tuple(name, tenths, bold);
    auto it = fonts_.find(key);
    if (it != fonts_.end()) return it->second;
    HFONT f = CreateFontA(-MulDiv(tenths, static_cast<int>(std::lround(scale().dpiY)), 720), 0, 0, 0, bold ? FW_BOLD : FW_NORMAL, 0, 0, 0,
                          DEFAULT_CHARSET, OUT_DEFAULT_PRECIS, CLIP_DEFAULT_PRECIS, DEFAULT_QUALITY,
                          DEFAULT_PITCH | FF_DONTCARE, name.c_str());
    fonts_[key] = f;
    return f;
}

HWND FormWindow::toolTips() {
    if (!tips_) {
        tips_ = CreateWindowExA(WS_EX_TOPMOST, TOOLTIPS_CLASSA, nullptr, WS_POPUP | TTS_ALWAYSTIP | TTS_NOPREFIX,
                                CW_USEDEFAULT, CW_USEDEFAULT, CW_USEDEFAULT, CW_USEDEFAULT, hwnd_, nullptr,
                                GetModuleHandleA(nullptr), nullptr);
        SendMessageA(tips_, TTM_SETMAXTIPWIDTH, 0, 400);
    }
    return tips_;
}

HBITMAP FormWindow::bitmap(const std::string& name) const {
    auto it = bitmaps_.find(name);
    if (it == bitmaps_.end()) it = bitmaps_.emplace(name, resourceBitmap(name)).first;
    return it->second;
}

void FormWindow::paintImage(const Image& image, HDC dc) const {
    HBITMAP picture = bitmap(image.resource);
    BITMAP info{};
    if (!picture || !GetObjectA(picture, sizeof info, &info)) return;
    HDC source = CreateCompatibleDC(dc);
    HGDIOBJ old = SelectObject(source, picture);
    const RECT r = toRect(scale().rect(image.left(), image.top(), image.width(), image.height()));
    SetStretchBltMode(dc, HALFTONE);
    StretchBlt(dc, r.left, r.top, r.right - r.left, r.bottom - r.top, source, 0, 0, info.bmWidth, info.bmHeight,
               SRCCOPY);
    SelectObject(source, old);
    DeleteDC(source);
}

void FormWindow::paintLine(const Line& line, HDC dc) const {
    HPEN pen = CreatePen(PS_SOLID, 1, toColorRef(line.foreColor()));
    HGDIOBJ old = SelectObject(dc, pen);
    MoveToEx(dc, scale().x(line.x1()), scale().y(line.y1()), nullptr);
    LineTo(dc, scale().x(line.x2()), scale().y(line.y2()));
    SelectObject(dc, old);
    DeleteObject(pen);
}

// Turning drawing back on makes a window visible, so hidden controls (which draw nothing
// anyway) are not held.
void FormWindow::holdRedraw(HWND control) {
    if (!(GetWindowLongA(control, GWL_STYLE) & WS_VISIBLE)) return;
    if (std::find(held_.begin(), held_.end(), control) != held_.end()) return;
    if (held_.empty()) PostMessageA(hwnd_, kRedrawHeld, 0, 0);
    held_.push_back(control);
    SendMessageA(control, WM_SETREDRAW, FALSE, 0);
}

void FormWindow::redrawHeld() {
    for (HWND control : std::exchange(held_, {})) {
        if (!IsWindow(control)) continue;
        SendMessageA(control, WM_SETREDRAW, TRUE, 0);
        InvalidateRect(control, nullptr, TRUE);
    }
}

void FormWindow::settleLater(int id) {
    if (settling_.empty()) PostMessageA(hwnd_, kSettleDrawings, 0, 0);
    settling_.push_back(id);
}

// A view released meanwhile is left out.
void FormWindow::settleDrawings() {
    for (int id : std::exchange(settling_, {})) {
        if (auto it = byId_.find(id); it != byId_.end()) it->second->drawingSettled();
    }
}

void FormWindow::followScreen(HWND changing, bool shown) {
    for (const auto& [id, view] : byId_) view->followScreen(changing, shown);
}

// Pictures first, lines over them, as a classic container drew its graphical controls.
void FormWindow::paintDecorations(const Control* owner, HDC dc) const {
    const std::vector<Control*> children = form().childrenOf(owner);
    for (Control* c : children) {
        if (c->kind() == ControlKind::Image && c->visible()) paintImage(static_cast<Image&>(*c), dc);
    }
    for (Control* c : children) {
        if (c->kind() == ControlKind::Line && c->visible()) paintLine(static_cast<Line&>(*c), dc);
    }
}

// The pointer changes at once when it is over the control, not only at the next move.
void FormWindow::setBusyControl(const Control* control) {
    const Control* previous = busy_;
    busy_ = control;
    POINT at{};
    GetCursorPos(&at);
    HWND under = WindowFromPoint(at);
    ControlView* view = viewOfWindow(under);
    if (!view || (&view->control() != previous && &view->control() != control)) return;
    SendMessageA(under, WM_SETCURSOR, reinterpret_cast<WPARAM>(under), MAKELPARAM(HTCLIENT, WM_MOUSEMOVE));
}

bool FormWindow::routeChildMessage(UINT msg, WPARAM wp, LPARAM lp, LRESULT& result) {
    ControlView* view = nullptr;
    switch (msg) {
        case WM_COMMAND:
            if (lp == 0) return false;
            if ((view = viewOfWindow(reinterpret_cast<HWND>(lp)))) view->command(HIWORD(wp));
            return view != nullptr;
        case WM_NOTIFY: {
            const auto* header = reinterpret_cast<const NMHDR*>(lp);
            if ((view = viewOfWindow(header->hwndFrom))) result = view->notify(*header);
            return view != nullptr;
        }
        case WM_SETCURSOR:
            view = viewOfWindow(reinterpret_cast<HWND>(wp));
            if (!view || !busy_ || &view->control() != busy_) return false;
            SetCursor(LoadCursor(nullptr, IDC_WAIT));
            result = TRUE;
            return true;
        case WM_CTLCOLORSTATIC:
        case WM_CTLCOLORBTN:
            if ((view = viewOfWindow(reinterpret_cast<HWND>(lp)))) {
                result = reinterpret_cast<LRESULT>(view->colors(reinterpret_cast<HDC>(wp)));
            }
            return view != nullptr;
        default: return false;
    }
}

}  // namespace qm::win32
