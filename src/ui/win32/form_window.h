#pragma once
// The native window of one core form: its client area, the views of its controls, its
// menu bar and timers, and the messages that reach the form (close box, session end,
// mouse moves, which also carry the tray icon's messages) on their way to the shared
// FormLink, which turns them into the form's own calls.
#include <windows.h>

#include <functional>
#include <map>
#include <optional>
#include <memory>
#include <string>
#include <tuple>
#include <vector>

#include "forms/form_link.h"
#include "ui/win32/control_view.h"
#include "ui/win32/menu_bar.h"
#include "ui/win32/timer_schedule.h"
#include "ui/win32/win32_scale.h"

namespace qm::win32 {

// The tray icon's click a mouse move stands for: the shell hands the icon's messages to its
// window as WM_MOUSEMOVE, the mouse message's number as x. A double click and the right
// button's release mean something; every other number (a real move, too) means nothing.
std::optional<TrayActivation> trayClickOfMouseMove(int x);

class Win32Host;

inline constexpr const char* kFormClass = "QuillmereForm";
inline constexpr const char* kContainerClass = "QuillmereContainer";
inline constexpr const char* kPictureClass = "QuillmerePicture";
// Posted after a view was released: the views waiting to be destroyed go now.
inline constexpr UINT kBuryViews = WM_APP + 2;
// Posted when a control's drawing was held: the held controls draw again.
inline constexpr UINT kRedrawHeld = WM_APP + 3;
// Posted when a view asked to settle its drawing: the views' drawingSettled() run.
inline constexpr UINT kSettleDrawings = WM_APP + 4;
// The native timer of the form's timers (control ids start higher).
inline constexpr UINT_PTR kTimerTick = 1;

class FormWindow : public FormMirror<ControlView> {
public:
    FormWindow(Form& form, Win32Host& host);
    ~FormWindow() override;

    HWND hwnd() const { return hwnd_; }
    Win32Host& host() const { return host_; }

    // The native parent for the children of `parent` (null = the client area).
    HWND containerOf(const Control* parent) const;
    ControlView* viewOfWindow(HWND child) const;
    int allocateId() { return nextId_++; }
    HFONT font(const std::string& name, double size, bool bold);
    HWND toolTips();
    // The form's timers share one native timer (see TimerSchedule).
    void startTimer(int id, int interval);
    void stopTimer(int id);

    // Holds a control's drawing while the core changes it, until the messages already
    // queued have been handled; a burst of changes is then drawn once.
    void holdRedraw(HWND control);
    // The view with this id looks at its drawing once the messages queued now are handled.
    void settleLater(int id);
    // Tells every view that `changing` (the form or a control) is shown or hidden.
    void followScreen(HWND changing, bool shown);
    // Draws the pictures and lines that belong to `owner` (null = the form).
    void paintDecorations(const Control* owner, HDC dc) const;
    // Messages shared by the client area and every container inside it.
    bool routeChildMessage(UINT msg, WPARAM wp, LPARAM lp, LRESULT& result);

    void popup(Menu& menu);
    void showFromOutside() override;
    void bringToFront() override;
    // The busy pointer over one control of the form (null: none).
    void setBusyControl(const Control* control);
    // Called whenever the form hides (a modal loop waits for it).
    std::function<void()> onHidden;

    LRESULT handle(UINT msg, WPARAM wp, LPARAM lp);

private:
    void addView(Control& control) override;
    void removeView(Control& control) override;
    bool windowHidden() const override { return !IsWindowVisible(hwnd_); }
    void userSized(WPARAM kind);
    void paint();
    void mirrorWindow(Prop what) override;
    // The client area's size in pixels, a menu bar's height added.
    void applyClientSize();
    void dpiChanged(int dpi, const RECT& suggested);
    void applyVisible();
    void applyWindowState();
    void centreOnScreen();
    HBITMAP bitmap(const std::string& name) const;
    void paintImage(const Image& image, HDC dc) const;
    void paintLine(const Line& line, HDC dc) const;
    void redrawHeld();
    void settleDrawings();
    void timerTick();
    void armTimer();

    Win32Host& host_;
    HWND hwnd_ = nullptr;
    HWND tips_ = nullptr;
    MenuBar menus_;
    // Before the views, which stop their timers when they go.
    TimerSchedule timers_;
    UINT armedMs_ = 0;
    std::map<int, ControlView*> byId_;
    std::vector<std::unique_ptr<ControlView>> graveyard_;
    std::vector<HWND> held_;
    std::vector<int> settling_;
    mutable std::map<std::string, HBITMAP> bitmaps_;
    std::map<std::tuple<std::string, int, bool>, HFONT> fonts_;
    int nextId_ = 100;
    const Control* busy_ = nullptr;
    bool placed_ = false;
};

// Registers the window classes of forms, containers and pictures (once).
void registerWindowClasses();

}  // namespace qm::win32
