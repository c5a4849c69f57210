#pragma once
// The native window of one core form: its client area, the views of its controls, its
// menu bar and timers, and the messages that reach the form (close box, session end,
// mouse moves, which also carry the tray icon's messages).
#include <windows.h>

#include <functional>
#include <map>
#include <memory>
#include <string>
#include <tuple>
#include <vector>

#include "forms/form.h"
#include "ui/win32/control_view.h"
#include "ui/win32/menu_bar.h"
#include "ui/win32/win32_scale.h"

namespace qm::win32 {

class Win32Host;

inline constexpr const char* kFormClass = "QuillmereForm";
inline constexpr const char* kContainerClass = "QuillmereContainer";
inline constexpr const char* kPictureClass = "QuillmerePicture";

class FormWindow {
public:
    FormWindow(Form& form, Win32Host& host);
    ~FormWindow();
    FormWindow(const FormWindow&) = delete;
    FormWindow& operator=(const FormWindow&) = delete;

    Form& form() const { return form_; }
    HWND hwnd() const { return hwnd_; }
    Win32Host& host() const { return host_; }
    const Scale& scale() const { return scale_; }

    // The native parent for the children of `parent` (null = the client area).
    HWND containerOf(const Control* parent) const;
    ControlView* viewOf(const Control* control) const;
    ControlView* viewOfWindow(HWND child) const;
    int allocateId() { return nextId_++; }
    HFONT font(const std::string& name, double size, bool bold);
    HWND toolTips();

    // Draws the pictures and lines that belong to `owner` (null = the form).
    void paintDecorations(const Control* owner, HDC dc) const;
    // Messages shared by the client area and every container inside it.
    bool routeChildMessage(UINT msg, WPARAM wp, LPARAM lp, LRESULT& result);

    void popup(Menu& menu);
    // The busy pointer over one control of the form (null: none).
    void setBusyControl(const Control* control);
    // A later start asked this instance to come forward: show, restore and raise.
    void showFromOutside();
    void bringToFront();
    // Called whenever the form hides (a modal loop waits for it).
    std::function<void()> onHidden;

    LRESULT handle(UINT msg, WPARAM wp, LPARAM lp);

private:
    void build();
    void addView(Control& control);
    void removeView(Control& control);
    void mirrorForm(Prop what);
    void applyVisible();
    void applyWindowState();
    void applyClientSize();
    void centreOnScreen();
    void userSized(WPARAM kind);
    void mouseMoved(WPARAM wp, LPARAM lp);
    void closeRequested(int mode);
    void paint();
    HBITMAP bitmap(const std::string& name) const;
    void paintImage(const Image& image, HDC dc) const;
    void paintLine(const Line& line, HDC dc) const;

    Form& form_;
    Win32Host& host_;
    Scale scale_;
    HWND hwnd_ = nullptr;
    HWND tips_ = nullptr;
    MenuBar menus_;
    std::map<const Control*, std::unique_ptr<ControlView>> views_;
    std::map<int, ControlView*> byId_;
    std::vector<std::unique_ptr<ControlView>> graveyard_;
    mutable std::map<std::string, HBITMAP> bitmaps_;
    std::map<std::tuple<std::string, int, bool>, HFONT> fonts_;
    int nextId_ = 100;
    int subscription_ = 0;
    const Control* busy_ = nullptr;
    int mirroring_ = 0;
    bool placed_ = false;
    bool sessionEnding_ = false;
};

// Registers the window classes of forms, containers and pictures (once).
void registerWindowClasses();

}  // namespace qm::win32
