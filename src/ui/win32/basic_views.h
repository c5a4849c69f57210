#pragma once
// Views of the simple controls: labels, buttons, check boxes, option buttons, frames,
// timers, and the images and lines their containers draw.
#include "ui/win32/control_view.h"

namespace qm::win32 {

// A see-through STATIC that reports clicks.
class LabelView : public ControlView {
public:
    LabelView(Label& label, FormWindow& window);
    void command(int code) override;
    HBRUSH colors(HDC dc) override;

protected:
    void mirror(Prop what) override;

private:
    Label& label_;
};

class ButtonView : public ControlView {
public:
    ButtonView(CommandButton& button, FormWindow& window);
    void command(int code) override;

private:
    CommandButton& button_;
};

// Value 2 shows greyed; a click goes to the model, which decides the new value.
class CheckView : public ControlView {
public:
    CheckView(CheckBox& box, FormWindow& window);
    void command(int code) override;

protected:
    void mirror(Prop what) override;

private:
    CheckBox& box_;
};

// The model clears the group's other buttons; each view mirrors its own value.
class OptionView : public ControlView {
public:
    OptionView(OptionButton& option, FormWindow& window);
    void command(int code) override;

protected:
    void mirror(Prop what) override;

private:
    OptionButton& option_;
};

// Every frame is a container window, so its children move and hide with it; a frame with
// a caption also shows a group box inside.
class FrameView : public ControlView {
public:
    FrameView(Frame& frame, FormWindow& window);
    HWND container() const override { return hwnd(); }
    // The container's own messages: its background, its pictures and lines, and the
    // notifications of its children, which go on to the form.
    LRESULT handle(UINT msg, WPARAM wp, LPARAM lp);

protected:
    void mirror(Prop what) override;

private:
    Frame& frame_;
    HWND groupBox_ = nullptr;
};

// Timers run on the form window's one native timer (FormWindow::startTimer).
class TimerView : public ControlView {
public:
    TimerView(Timer& timer, FormWindow& window);
    ~TimerView() override;
    void command(int code) override;

protected:
    void mirror(Prop what) override;

private:
    Timer& timer_;
};

// Images and lines have no window: their container draws them.
class DecorationView : public ControlView {
public:
    using ControlView::ControlView;

protected:
    void mirror(Prop what) override;
};

}  // namespace qm::win32
