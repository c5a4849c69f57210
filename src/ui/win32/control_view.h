#pragma once
// One view per control: it builds the native counterpart, mirrors every property change
// of the model, and hands user actions back only through the model's own setters.
#include <windows.h>

#include <functional>
#include <memory>
#include <vector>

#include "forms/caption_room.h"
#include "forms/form_link.h"
#include "ui/win32/screen_reader.h"
#include "ui/win32/win32_scale.h"

namespace qm::win32 {

class FormWindow;

// The model's default colours stand for the system colours.
constexpr Color kSystemBack = 0xF0F0F0;
constexpr Color kSystemText = 0x000000;

class ControlView {
public:
    ControlView(Control& control, FormWindow& window);
    virtual ~ControlView();
    ControlView(const ControlView&) = delete;
    ControlView& operator=(const ControlView&) = delete;

    Control& control() const { return control_; }
    HWND hwnd() const { return hwnd_; }
    int id() const { return id_; }
    // Where the control's children go (null: into the container of this control).
    virtual HWND container() const { return nullptr; }
    // Brings the view up to date with every property; called once after construction.
    void mirrorAll();
    // The window's DPI changed: font and box again at the new scale.
    void rescaled() {
        mirror(Prop::Font);
        mirror(Prop::Geometry);
    }
    // The control is being unloaded: stop observing it (it is gone right after).
    void detach();
    // A caption that changed while its window was hidden is shown now (see holdsCaption).
    void showHeldCaption();

    // Native notifications addressed to this control.
    virtual void command(int code) { (void)code; }
    virtual LRESULT notify(const NMHDR& header) { (void)header; return 0; }
    // WM_CTLCOLOR*: the colours the control is drawn with.
    virtual HBRUSH colors(HDC dc);
    // The drawing the view asked to look at (FormWindow::settleLater) is over.
    virtual void drawingSettled() {}
    // `changing` is shown or hidden (its style not yet updated); the view may now be seen
    // or no longer.
    virtual void followScreen(HWND changing, bool shown) { (void)changing, (void)shown; }

protected:
    // How the view's box follows its caption: not at all, on one line (a button's border or
    // a check box's glyph beside it), or wrapped in the box.
    enum class CaptionFit { None, Button, Indicator, Wrapped };
    void setCaptionFit(CaptionFit fit) { captionFit_ = fit; }
    virtual void mirror(Prop what);
    // Creates the native child window in the parent's container with this view's id.
    HWND create(const char* windowClass, DWORD style, DWORD exStyle = 0);
    // A user action: the model decides; afterwards the control shows what the model made of
    // it. Changes the model pushes meanwhile are not echoed back as user actions.
    void userAction(const std::function<void()>& action, Prop resync);
    bool mirroring() const { return mirroring_ > 0; }
    FormWindow& window() const { return window_; }
    const Scale& scale() const;
    HWND parentWindow() const;
    // The control's rectangle in its container, grown where its caption needs the room.
    RECT rectPx() const;
    // Repaints the control's area in its container (for see-through controls), when the
    // container shows.
    void repaintArea() const;
    HBRUSH backBrush() const;
    // A screen reader reads `part` (this control's window or one of its own) by the core's
    // name for the control, announced as `role`.
    void nameForScreenReaders(HWND part, long role);

    // Each sends its change only when the window shows something else; true when it did.
    void mirrorModelChange(Prop what);
    bool mirrorCaption();
    bool mirrorVisible();

private:
    void mirrorGeometry();
    void moveTo(const RECT& r);
    void refitCaption();
    TwipBox shownBox() const;
    int besideCaption() const;
    std::string windowText() const;
    void mirrorFont();
    void mirrorZOrder();
    void mirrorToolTip();

    Control& control_;
    FormWindow& window_;
    HWND hwnd_ = nullptr;
    int id_;
    int subscription_ = 0;
    int mirroring_ = 0;
    CaptionFit captionFit_ = CaptionFit::None;
    bool detached_ = false;
    bool hasTool_ = false;
    mutable HBRUSH brush_ = nullptr;
    mutable Color brushColor_ = 0;
    std::vector<std::unique_ptr<ScreenReaderName>> screenReaders_;
};

// The view for any control kind (null for menus, which the window's menu bar handles, and
// for image lists, which only hold pictures).
std::unique_ptr<ControlView> makeView(Control& control, FormWindow& window);

COLORREF toColorRef(Color c);
// Invalidates a window that shows now: a hidden one is painted whole when it shows.
void invalidateShown(HWND hwnd);
// Reports an exception that reached the window system's boundary (it must not unwind there).
void reportStray(const std::string& who, const char* what);

}  // namespace qm::win32
