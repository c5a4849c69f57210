#include "ui/win32/basic_views.h"

#include "ui/win32/form_window.h"

namespace qm::win32 {

LabelView::LabelView(Label& label, FormWindow& window) : ControlView(label, window), label_(label) {
    setCaptionFit(CaptionFit::Wrapped);  // first: the window is made at its fitted size
    create("STATIC", SS_LEFT | SS_NOTIFY);
}

void LabelView::command(int code) {
    if (code == STN_CLICKED) userAction([this] { label_.userClick(); }, Prop::Caption);
}

// The container's background shows through, so a changed text repaints the area below.
void LabelView::mirror(Prop what) {
    bool changed = true;
    if (what == Prop::Caption) {
        changed = mirrorCaption();
    } else if (what == Prop::Visible) {
        changed = mirrorVisible();
    } else {
        ControlView::mirror(what);
        changed = what == Prop::ForeColor;
    }
    if (changed) repaintArea();
}

HBRUSH LabelView::colors(HDC dc) {
    HBRUSH brush = ControlView::colors(dc);
    if (label_.backColor() != kSystemBack) return brush;
    SetBkMode(dc, TRANSPARENT);
    return static_cast<HBRUSH>(GetStockObject(NULL_BRUSH));
}

ButtonView::ButtonView(CommandButton& button, FormWindow& window) : ControlView(button, window), button_(button) {
    setCaptionFit(CaptionFit::Button);  // first: the window is made at its fitted size
    create("BUTTON", BS_PUSHBUTTON | WS_TABSTOP);
}

void ButtonView::command(int code) {
    if (code == BN_CLICKED) userAction([this] { button_.userClick(); }, Prop::Caption);
}

CheckView::CheckView(CheckBox& box, FormWindow& window) : ControlView(box, window), box_(box) {
    setCaptionFit(CaptionFit::Indicator);  // first: the window is made at its fitted size
    create("BUTTON", BS_AUTO3STATE | WS_TABSTOP);
}

void CheckView::command(int code) {
    if (code == BN_CLICKED) userAction([this] { box_.userClick(); }, Prop::Value);
}

void CheckView::mirror(Prop what) {
    ControlView::mirror(what);
    if (what != Prop::Value || !hwnd()) return;
    constexpr WPARAM kStates[3] = {BST_UNCHECKED, BST_CHECKED, BST_INDETERMINATE};
    SendMessageA(hwnd(), BM_SETCHECK, kStates[box_.value()], 0);
}

OptionView::OptionView(OptionButton& option, FormWindow& window) : ControlView(option, window), option_(option) {
    setCaptionFit(CaptionFit::Indicator);  // first: the window is made at its fitted size
    create("BUTTON", BS_RADIOBUTTON | WS_TABSTOP);
}

void OptionView::command(int code) {
    if (code == BN_CLICKED) userAction([this] { option_.userClick(); }, Prop::Value);
}

void OptionView::mirror(Prop what) {
    ControlView::mirror(what);
    if (what == Prop::Value && hwnd()) SendMessageA(hwnd(), BM_SETCHECK, option_.value() ? BST_CHECKED : BST_UNCHECKED, 0);
}

FrameView::FrameView(Frame& frame, FormWindow& window) : ControlView(frame, window), frame_(frame) {
    HWND self = create(kContainerClass, 0, WS_EX_CONTROLPARENT);
    if (self) SetWindowLongPtrA(self, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(this));
}

// The group box lies below the frame's controls and covers the whole frame.
void FrameView::mirror(Prop what) {
    ControlView::mirror(what);
    if (!hwnd()) return;
    if (what == Prop::Caption && !frame_.caption().empty() && !groupBox_) {
        groupBox_ = CreateWindowExA(0, "BUTTON", "", WS_CHILD | WS_VISIBLE | BS_GROUPBOX, 0, 0, 0, 0, hwnd(), nullptr,
                                    GetModuleHandleA(nullptr), nullptr);
        SetWindowPos(groupBox_, HWND_BOTTOM, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE);
    }
    if (!groupBox_) return;
    const RECT r = rectPx();
    switch (what) {
        case Prop::Caption: SetWindowTextA(groupBox_, frame_.shownCaption().c_str()); break;
        case Prop::Geometry: MoveWindow(groupBox_, 0, 0, r.right - r.left, r.bottom - r.top, TRUE); break;
        case Prop::Font: {
            HFONT f = window().font(frame_.fontName(), frame_.fontSize(), frame_.fontBold());
            SendMessageA(groupBox_, WM_SETFONT, reinterpret_cast<WPARAM>(f), TRUE);
            break;
        }
        case Prop::Enabled: EnableWindow(groupBox_, frame_.enabled()); break;
        default: break;
    }
}

LRESULT FrameView::handle(UINT msg, WPARAM wp, LPARAM lp) {
    LRESULT routed = 0;
    if (window().routeChildMessage(msg, wp, lp, routed)) return routed;
    switch (msg) {
        case WM_ERASEBKGND: {
            RECT r;
            GetClientRect(hwnd(), &r);
            FillRect(reinterpret_cast<HDC>(wp), &r, backBrush());
            return 1;
        }
        case WM_PAINT: {
            PAINTSTRUCT ps;
            HDC dc = BeginPaint(hwnd(), &ps);
            window().paintDecorations(&frame_, dc);
            EndPaint(hwnd(), &ps);
            return 0;
        }
        default: return DefWindowProcA(hwnd(), msg, wp, lp);
    }
}

TimerView::TimerView(Timer& timer, FormWindow& window) : ControlView(timer, window), timer_(timer) {}

TimerView::~TimerView() { window().stopTimer(id()); }

// A changed interval or a new start begins the count again, as the classic timer did.
void TimerView::mirror(Prop what) {
    if (what != Prop::Enabled && what != Prop::Interval) return;
    if (timer_.isEnabled() && timer_.interval() > 0) {
        window().startTimer(id(), timer_.interval());
    } else {
        window().stopTimer(id());
    }
}

void TimerView::command(int) {
    if (!timer_.isEnabled()) return;
    try {
        timer_.fire();
    } catch (const std::exception& e) {
        reportStray(timer_.name(), e.what());
    }
}

void DecorationView::mirror(Prop what) {
    if (what == Prop::Geometry || what == Prop::Visible || what == Prop::ForeColor || what == Prop::Picture) {
        invalidateShown(window().containerOf(control().parent()));
    }
}

}  // namespace qm::win32
