#pragma once
// Views of the plain controls.
#include <QPixmap>

#include "ui/qt/control_view.h"

class QLabel;
class QTimer;

class QRadioButton;

namespace qm::qt {

// A picture compiled into the program (":/images/<name>.png"); null when there is none.
QPixmap resourcePixmap(const std::string& name);

class LabelView : public ControlView {
public:
    LabelView(Label& label, FormWindow& window);
    bool eventFilter(QObject* watched, QEvent* event) override;

protected:
    void mirror(Prop what) override;

private:
    Label& label_;
};

class ButtonView : public ControlView {
public:
    ButtonView(CommandButton& button, FormWindow& window);

protected:
    void mirror(Prop what) override;
};

class CheckBoxView : public ControlView {
public:
    CheckBoxView(CheckBox& box, FormWindow& window);

protected:
    void mirror(Prop what) override;

private:
    CheckBox& box_;
};

class OptionView : public ControlView {
public:
    OptionView(OptionButton& option, FormWindow& window);

protected:
    void mirror(Prop what) override;

private:
    void mirrorValue(QRadioButton& widget);
    OptionButton& option_;
};

class FrameView : public ControlView {
public:
    FrameView(Frame& frame, FormWindow& window);

protected:
    void mirror(Prop what) override;

private:
    bool grouped_ = false;
};

class ImageView : public ControlView {
public:
    ImageView(Image& image, FormWindow& window);

protected:
    void mirror(Prop what) override;

private:
    Image& image_;
};

class LineView : public ControlView {
public:
    LineView(Line& line, FormWindow& window);
    void detach() override;

protected:
    void mirror(Prop what) override;
};

class TimerView : public ControlView {
public:
    TimerView(Timer& timer, FormWindow& window);
    bool running() const;
    int runningInterval() const;

protected:
    void mirror(Prop what) override;

private:
    Timer& timer_;
    QTimer* qtimer_;
};

class StatusBarView : public ControlView {
public:
    StatusBarView(StatusBar& bar, FormWindow& window);

protected:
    void mirror(Prop what) override;

private:
    StatusBar& bar_;
    QLabel* text_;
};

}  // namespace qm::qt
