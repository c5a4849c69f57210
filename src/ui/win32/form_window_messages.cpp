// The form's own messages and window states.
#include <windowsx.h>

#include "ui/win32/form_window.h"

namespace qm::win32 {

namespace {

constexpr UINT kBuryViews = WM_APP + 2;

int mouseButtons(WPARAM wp) {
    return (wp & MK_LBUTTON ? 1 : 0) | (wp & MK_RBUTTON ? 2 : 0) | (wp & MK_MBUTTON ? 4 : 0);
}

int shiftKeys(WPARAM wp) {
    return (wp & MK_SHIFT ? 1 : 0) | (wp & MK_CONTROL ? 2 : 0) | (GetKeyState(VK_MENU) < 0 ? 4 : 0);
}

}  // namespace

LRESULT FormWindow::handle(UINT msg, WPARAM wp, LPARAM lp) {
    LRESULT routed = 0;
    if (routeChildMessage(msg, wp, lp, routed)) return routed;
    switch (msg) {
        case WM_COMMAND:
            if (lp == 0 && menus_.command(LOWORD(wp))) return 0;
            break;
        case WM_TIMER:
            if (auto it = byId_.find(static_cast<int>(wp)); it != byId_.end()) it->second->command(0);
            return 0;
        case WM_MOUSEMOVE: mouseMoved(wp, lp); return 0;
        case WM_CLOSE: closeRequested(0); return 0;
        case WM_QUERYENDSESSION: closeRequested(2); return TRUE;
        case WM_ENDSESSION:
            if (wp) closeRequested(2);
            return 0;
        case WM_SIZE: userSized(wp); break;
        case WM_PAINT: paint(); return 0;
        case kBuryViews: graveyard_.clear(); return 0;
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

// The tray icon's messages arrive here too (its callback message is WM_MOUSEMOVE): the
// low word of lParam, which the shell fills with the mouse message number, becomes x in
// twips exactly as a real mouse position would.
void FormWindow::mouseMoved(WPARAM wp, LPARAM lp) {
    if (!form_.onMouseMove) return;
    const double x = static_cast<double>(LOWORD(lp)) * scale_.twipsPerPixelX();
    const double y = static_cast<double>(HIWORD(lp)) * scale_.twipsPerPixelY();
    try {
        form_.onMouseMove(mouseButtons(wp), shiftKeys(wp), x, y);
    } catch (const std::exception& e) {
        reportStray(form_, e.what());
    }
}

// A form that lets itself be closed is hidden; the main window's handler ends the
// program itself when it has to. The session's end asks once.
void FormWindow::closeRequested(int mode) {
    if (mode == 2) {
        if (sessionEnding_) return;
        sessionEnding_ = true;
    }
    try {
        if (form_.queryUnload(mode)) form_.hide();
    } catch (const std::exception& e) {
        reportStray(form_, e.what());
    }
}

// The user minimised or restored the window: the model learns the real state.
void FormWindow::userSized(WPARAM kind) {
    if (mirroring_ > 0) return;
    ++mirroring_;
    try {
        if (kind == SIZE_MINIMIZED) form_.setWindowState(WindowState::Minimized);
        if (kind == SIZE_MAXIMIZED) form_.setWindowState(WindowState::Maximized);
        if (kind == SIZE_RESTORED) form_.setWindowState(WindowState::Normal);
        if (kind != SIZE_MINIMIZED && IsWindowVisible(hwnd_) && !form_.visible()) form_.show();
    } catch (const std::exception& e) {
        reportStray(form_, e.what());
    }
    --mirroring_;
}

void FormWindow::mirrorForm(Prop what) {
    ++mirroring_;
    switch (what) {
        case Prop::Caption: SetWindowTextA(hwnd_, form_.caption().c_str()); break;
        case Prop::Geometry: applyClientSize(); break;
        case Prop::Enabled: EnableWindow(hwnd_, form_.enabled()); break;
        case Prop::BackColor: InvalidateRect(hwnd_, nullptr, TRUE); break;
        case Prop::Visible: applyVisible(); break;
        case Prop::WindowState: applyWindowState(); break;
        default: break;
    }
    --mirroring_;
}

void FormWindow::applyVisible() {
    if (!form_.visible()) {
        ShowWindow(hwnd_, SW_HIDE);
        if (onHidden) onHidden();
        return;
    }
    if (!placed_) centreOnScreen();
    switch (form_.windowState()) {
        case WindowState::Minimized: ShowWindow(hwnd_, SW_SHOWMINIMIZED); break;
        case WindowState::Maximized: ShowWindow(hwnd_, SW_SHOWMAXIMIZED); break;
        case WindowState::Normal: ShowWindow(hwnd_, IsIconic(hwnd_) || IsZoomed(hwnd_) ? SW_RESTORE : SW_SHOW); break;
    }
}

// A hidden window takes its state when it is shown.
void FormWindow::applyWindowState() {
    if (!form_.visible()) return;
    switch (form_.windowState()) {
        case WindowState::Minimized: ShowWindow(hwnd_, SW_MINIMIZE); break;
        case WindowState::Maximized: ShowWindow(hwnd_, SW_MAXIMIZE); break;
        case WindowState::Normal: ShowWindow(hwnd_, SW_RESTORE); break;
    }
}

// The form's size is its client area; a menu bar that wraps is measured and added.
void FormWindow::applyClientSize() {
    const int width = scale_.x(form_.width());
    const int height = scale_.y(form_.height());
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

void FormWindow::showFromOutside() {
    try {
        form_.show();
        if (form_.windowState() == WindowState::Minimized) form_.setWindowState(WindowState::Normal);
    } catch (const std::exception& e) {
        reportStray(form_, e.what());
    }
    ShowWindow(hwnd_, SW_SHOW);
    if (IsIconic(hwnd_)) OpenIcon(hwnd_);
    SetForegroundWindow(hwnd_);
}

void FormWindow::bringToFront() { SetForegroundWindow(hwnd_); }

}  // namespace qm::win32
