// The form's own messages and window states.
#include <windowsx.h>

#include "ui/win32/form_window.h"
#include "ui/win32/win32_host.h"

#include <algorithm>
#include <cmath>
#include <map>
#include <tuple>

namespace qm::win32 {

namespace {

int mouseButtons(WPARAM wp) {
    return (wp & MK_LBUTTON ? 1 : 0) | (wp & MK_RBUTTON ? 2 : 0) | (wp & MK_MBUTTON ? 4 : 0);
}

int shiftKeys(WPARAM wp) {
    return (wp & MK_SHIFT ? 1 : 0) | (wp & MK_CONTROL ? 2 : 0) | (GetKeyState(VK_MENU) < 0 ? 4 : 0);
}

}  // namespace

std::optional<TrayActivation> trayClickOfMouseMove(int x) {
    if (x == WM_LBUTTONDBLCLK) return TrayActivation::Double;
    if (x == WM_RBUTTONUP) return TrayActivation::Context;
    return std::nullopt;
}

void FormWindow::startTimer(int id, int interval) {
    timers_.start(id, interval, GetTickCount64());
    armTimer();
}

void FormWindow::stopTimer(int id) {
    timers_.stop(id);
    armTimer();
}

// A timer that an earlier one of the same tick stopped or removed is left out.
void FormWindow::timerTick() {
    for (int id : timers_.takeDue(GetTickCount64())) {
        auto it = byId_.find(id);
        if (timers_.running(id) && it != byId_.end()) it->second->command(0);
    }
    armTimer();
}

// The native timer repeats, so a steady beat costs no call here after the first.
void FormWindow::armTimer() {
    const std::optional<TimerSchedule::Ms> period = timers_.period(GetTickCount64());
    if (!period) {
        if (armedMs_) KillTimer(hwnd_, kTimerTick);
        armedMs_ = 0;
        return;
    }
    const auto wanted = static_cast<UINT>(std::max<TimerSchedule::Ms>(*period, USER_TIMER_MINIMUM));
    if (wanted == armedMs_) return;
    armedMs_ = wanted;
    SetTimer(hwnd_, kTimerTick, armedMs_, nullptr);
}

LRESULT FormWindow::handle(UINT msg, WPARAM wp, LPARAM lp) {
    LRESULT routed = 0;
    if (routeChildMessage(msg, wp, lp, routed)) return routed;
    switch (msg) {
        case WM_COMMAND:
            if (lp == 0 && menus_.command(LOWORD(wp))) return 0;
            break;
        case WM_TIMER:
            if (wp == kTimerTick) timerTick();
            return 0;
        // The tray icon's messages arrive here too (its callback message is WM_MOUSEMOVE):
        // the shell puts the mouse message number into the low word of lParam.
        case WM_MOUSEMOVE:
            host_.pointerMoved();
            if (const auto click = trayClickOfMouseMove(LOWORD(lp))) trayActivated({*click, TrayKind::ClickThenDoubleClick});
            mouseMoved(mouseButtons(wp), shiftKeys(wp), LOWORD(lp), HIWORD(lp));
            return 0;
        case WM_CLOSE: closeBox(); return 0;
        case WM_QUERYENDSESSION: sessionEnds(); return TRUE;
        case WM_ENDSESSION:
            if (wp) sessionEnds();
            return 0;
        case WM_SIZE: userSized(wp); break;
        case WM_SHOWWINDOW:  // sent before the window shows: its first frame has every caption
            if (wp) showHeldCaptions();
            if (lp == 0) followScreen(hwnd_, wp != 0);  // not an owner's minimizing
            break;
        case WM_PAINT: paint(); return 0;
        case WM_DPICHANGED: dpiChanged(HIWORD(wp), *reinterpret_cast<const RECT*>(lp)); return 0;
        case kBuryViews: graveyard_.clear(); return 0;
        case kRedrawHeld: redrawHeld(); return 0;
        case kSettleDrawings: settleDrawings(); return 0;
        default: break;
    }
    return DefWindowProcA(hwnd_, msg, wp, lp);
}

void FormWindow::paint() {
    PAINTSTRUCT ps;
    HDC dc = BeginPaint(hwnd_, &ps);
    paintDecorations(nullptr, dc);
    EndPaint(hwnd_, &ps);
}

// The user minimised, maximised or restored the window (other kinds concern other windows).
void FormWindow::userSized(WPARAM kind) {
    if (kind == SIZE_MINIMIZED) userChangedState(WindowState::Minimized, IsWindowVisible(hwnd_));
    if (kind == SIZE_MAXIMIZED) userChangedState(WindowState::Maximized, IsWindowVisible(hwnd_));
    if (kind == SIZE_RESTORED) userChangedState(WindowState::Normal, IsWindowVisible(hwnd_));
}

void FormWindow::mirrorWindow(Prop what) {
    const Form& model = form();
    switch (what) {
        case Prop::Caption: SetWindowTextA(hwnd_, model.shownCaption().c_str()); break;
        case Prop::Geometry: applyClientSize(); break;
        case Prop::Enabled: EnableWindow(hwnd_, model.enabled()); break;
        case Prop::BackColor: InvalidateRect(hwnd_, nullptr, TRUE); break;
        case Prop::Visible: applyVisible(); break;
        case Prop::WindowState: applyWindowState(); break;
        default: break;
    }
}

void FormWindow::applyVisible() {
    if (!form().visible()) {
        ShowWindow(hwnd_, SW_HIDE);
        formHidden();
        return;
    }
    if (!placed_) centreOnScreen();
    switch (form().windowState()) {
        case WindowState::Minimized: ShowWindow(hwnd_, SW_SHOWMINIMIZED); break;
        case WindowState::Maximized: ShowWindow(hwnd_, SW_SHOWMAXIMIZED); break;
        case WindowState::Normal: ShowWindow(hwnd_, IsIconic(hwnd_) || IsZoomed(hwnd_) ? SW_RESTORE : SW_SHOW); break;
    }
}

// A hidden window takes its state when it is shown.
void FormWindow::applyWindowState() {
    if (!form().visible()) return;
    switch (form().windowState()) {
        case WindowState::Minimized: ShowWindow(hwnd_, SW_MINIMIZE); break;
        case WindowState::Maximized: ShowWindow(hwnd_, SW_MAXIMIZE); break;
        case WindowState::Normal: ShowWindow(hwnd_, SW_RESTORE); break;
    }
}

// The form's size is its client area; a menu bar that wraps is measured and added.
void FormWindow::applyClientSize() {
    const int width = scale().x(form().width());
    const int height = scale().y(form().height());
    RECT r{0, 0, width, height};
    AdjustWindowRectEx(&r, static_cast<DWORD>(GetWindowLongPtrA(hwnd_, GWL_STYLE)), GetMenu(hwnd_) != nullptr, 0);
    const UINT flags = SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE;
    SetWindowPos(hwnd_, nullptr, 0, 0, r.right - r.left, r.bottom - r.top, flags);
    RECT client;
    GetClientRect(hwnd_, &client);
    const int missing = height - (client.bottom - client.top);
    if (missing > 0 && !IsIconic(hwnd_)) {
        SetWindowPos(hwnd_, nullptr, 0, 0, r.right - r.left, r.bottom - r.top + missing, flags);
    }
}

// Moved to a screen of another DPI (per-monitor aware): fonts and every box at the new
// scale, the window where the system suggests, its client area the form's size again.
void FormWindow::dpiChanged(int dpi, const RECT& suggested) {
    if (dpi <= 0 || dpi == static_cast<int>(std::lround(scale().dpiY))) return;
    setScale(Scale{static_cast<double>(dpi), static_cast<double>(dpi)});
    std::map<std::tuple<std::string, int, bool>, HFONT> old;
    old.swap(fonts_);
    forEachView([](ControlView& view) { view.rescaled(); });
    for (auto& [key, font] : old) DeleteObject(font);
    SetWindowPos(hwnd_, nullptr, suggested.left, suggested.top, 0, 0, SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
    applyClientSize();
    InvalidateRect(hwnd_, nullptr, TRUE);
}

void FormWindow::centreOnScreen() {
    placed_ = true;
    RECT work, frame;
    SystemParametersInfoA(SPI_GETWORKAREA, 0, &work, 0);
    GetWindowRect(hwnd_, &frame);
    const int w = frame.right - frame.left, h = frame.bottom - frame.top;
    SetWindowPos(hwnd_, nullptr, work.left + (work.right - work.left - w) / 2, work.top + (work.bottom - work.top - h) / 2,
                 0, 0, SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
}

// The classic tray pop-up: the window comes to the foreground first, so the menu closes
// when the user clicks elsewhere, and a null message afterwards lets it close cleanly.
void FormWindow::popup(Menu& menu) {
    HMENU items = menus_.buildPopup(menu);
    POINT at{};
    GetCursorPos(&at);
    SetForegroundWindow(hwnd_);
    const int chosen = TrackPopupMenu(items, TPM_RETURNCMD | TPM_NONOTIFY, at.x, at.y, 0, hwnd_, nullptr);
    PostMessageA(hwnd_, WM_NULL, 0, 0);
    DestroyMenu(items);
    if (chosen) menus_.command(chosen);
}

// The model first, so a minimised or hidden window is restored by the model's own change;
// a window the model already thought shown is brought back here.
void FormWindow::showFromOutside() {
    showFormFromOutside();
    ShowWindow(hwnd_, SW_SHOW);
    if (IsIconic(hwnd_)) OpenIcon(hwnd_);
    SetForegroundWindow(hwnd_);
}

void FormWindow::bringToFront() { SetForegroundWindow(hwnd_); }

}  // namespace qm::win32
