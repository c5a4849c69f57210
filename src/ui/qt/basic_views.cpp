// Views of the plain controls: labels, buttons, check boxes, option buttons, frames,
// images, lines, timers and the status bar.
#include <QCheckBox>
#include <QEvent>
#include <QGroupBox>
#include <QLabel>
#include <QMouseEvent>
#include <QPushButton>
#include <QRadioButton>
#include <QSignalBlocker>
#include <QStatusBar>
#include <QTimer>

#include "ui/qt/basic_views.h"
#include "ui/qt/form_window.h"
#include "ui/qt/line_container.h"
#include "ui/qt/resource_icon.h"

namespace qm::qt {

LabelView::LabelView(Label& label, FormWindow& window) : ControlView(label, window), label_(label) {
    auto* widget = new QLabel(parentWidget());
    widget->setWordWrap(true);
    widget->setAlignment(Qt::AlignLeft | Qt::AlignTop);
    setWidget(widget);
    setCaptionFit(CaptionFit::Wrapped);  // also watches the clicks (eventFilter)
}

// The text first: the box that holds it is measured on it.
void LabelView::mirror(Prop what) {
    if (what == Prop::Caption && !detached()) {
        static_cast<QLabel*>(widget())->setText(withoutAccessKeys(label_.shownCaption()));
    }
    ControlView::mirror(what);
}

// A label has no click signal: a left press released over it is its click.
bool LabelView::eventFilter(QObject* watched, QEvent* event) {
    if (watched == widget() && event->type() == QEvent::MouseButtonRelease) {
        auto* mouse = static_cast<QMouseEvent*>(event);
        if (mouse->button() == Qt::LeftButton && widget()->rect().contains(mouse->position().toPoint())) {
            userAction([this] { label_.userClick(); }, Prop::Caption);
        }
    }
    return ControlView::eventFilter(watched, event);
}

ButtonView::ButtonView(CommandButton& button, FormWindow& window) : ControlView(button, window) {
    auto* widget = new QPushButton(parentWidget());
    widget->setAutoDefault(false);
    QObject::connect(widget, &QPushButton::clicked, this, [this, &button] {
        userAction([&button] { button.userClick(); }, Prop::Caption);
    });
    setWidget(widget);
    setCaptionFit(CaptionFit::OneLine);
}

void ButtonView::mirror(Prop what) {
    if (what == Prop::Caption && !detached()) {
        static_cast<QPushButton*>(widget())->setText(QString::fromStdString(control().shownCaption()));
    }
    ControlView::mirror(what);
}

CheckBoxView::CheckBoxView(CheckBox& box, FormWindow& window) : ControlView(box, window), box_(box) {
    auto* widget = new QCheckBox(parentWidget());
    // The widget has already changed its own state; the model decides and we show that.
    QObject::connect(widget, &QCheckBox::clicked, this, [this] {
        userAction([this] { box_.userClick(); }, Prop::Value);
    });
    setWidget(widget);
    setCaptionFit(CaptionFit::OneLine);
}

void CheckBoxView::mirror(Prop what) {
    auto* widget = static_cast<QCheckBox*>(this->widget());
    if (what == Prop::Caption && !detached()) widget->setText(QString::fromStdString(box_.shownCaption()));
    ControlView::mirror(what);
    if (detached() || what != Prop::Value) return;
    const QSignalBlocker blocker(widget);
    widget->setTristate(box_.value() == 2);
    widget->setCheckState(box_.value() == 2 ? Qt::PartiallyChecked
                                            : box_.value() == 1 ? Qt::Checked : Qt::Unchecked);
}

OptionView::OptionView(OptionButton& option, FormWindow& window) : ControlView(option, window), option_(option) {
    // Exclusive as Qt sees it, so a screen reader announces a radio button in its group (a
    // button that is not is read as a check box); the model clears the group's others.
    auto* widget = new QRadioButton(parentWidget());
    QObject::connect(widget, &QRadioButton::clicked, this, [this] {
        userAction([this] { option_.userClick(); }, Prop::Value);
    });
    setWidget(widget);
    setCaptionFit(CaptionFit::OneLine);
}

void OptionView::mirror(Prop what) {
    auto* widget = static_cast<QRadioButton*>(this->widget());
    const QSignalBlocker blocker(widget);
    if (what == Prop::Caption && !detached()) widget->setText(QString::fromStdString(option_.shownCaption()));
    ControlView::mirror(what);
    if (what == Prop::Value && !detached()) mirrorValue(*widget);
}

// The model may clear every button of a group; an exclusive button refuses to be cleared.
void OptionView::mirrorValue(QRadioButton& widget) {
    if (widget.isChecked() == option_.value()) return;
    widget.setAutoExclusive(option_.value());
    widget.setChecked(option_.value());
    widget.setAutoExclusive(true);
}

// A frame with a caption is a group box; a page (no caption) is a bare surface.
FrameView::FrameView(Frame& frame, FormWindow& window) : ControlView(frame, window) {
    if (frame.caption().empty()) {
        setWidget(new LineContainer<QWidget>(window, &frame, parentWidget()));
    } else {
        setWidget(new LineContainer<QGroupBox>(window, &frame, parentWidget()));
        grouped_ = true;
    }
}

void FrameView::mirror(Prop what) {
    ControlView::mirror(what);
    if (what == Prop::Caption && grouped_ && !detached()) {
        static_cast<QGroupBox*>(widget())->setTitle(QString::fromStdString(control().shownCaption()));
    }
}

ImageView::ImageView(Image& image, FormWindow& window) : ControlView(image, window), image_(image) {
    auto* widget = new QLabel(parentWidget());
    widget->setScaledContents(true);
    setWidget(widget);
}

void ImageView::mirror(Prop what) {
    ControlView::mirror(what);
    if (what == Prop::Picture && !detached()) {
        static_cast<QLabel*>(widget())->setPixmap(resourcePixmap(image_.resource));
    }
}

LineView::LineView(Line& line, FormWindow& window) : ControlView(line, window) {}

void LineView::mirror(Prop) {
    if (detached()) return;
    if (QWidget* surface = parentWidget()) surface->update();
}

void LineView::detach() {
    QWidget* surface = parentWidget();
    ControlView::detach();
    if (surface) surface->update();
}

TimerView::TimerView(Timer& timer, FormWindow& window) : ControlView(timer, window), timer_(timer) {
    qtimer_ = new QTimer(this);
    QObject::connect(qtimer_, &QTimer::timeout, this, [this] { userAction([this] { timer_.fire(); }, Prop::Interval); });
}

// A timer runs while it is enabled with an interval; any change starts its count anew.
void TimerView::mirror(Prop what) {
    if (detached() || (what != Prop::Enabled && what != Prop::Interval)) return;
    if (!timer_.isEnabled() || timer_.interval() <= 0) {
        qtimer_->stop();
    } else if (!qtimer_->isActive() || qtimer_->interval() != timer_.interval()) {
        qtimer_->start(timer_.interval());
    }
}

StatusBarView::StatusBarView(StatusBar& bar, FormWindow& window) : ControlView(bar, window), bar_(bar) {
    auto* widget = new QStatusBar(parentWidget());
    widget->setSizeGripEnabled(false);
    text_ = new QLabel(widget);
    widget->addWidget(text_, 1);
    setWidget(widget);
}

void StatusBarView::mirror(Prop what) {
    ControlView::mirror(what);
    if (what == Prop::Caption && !detached()) text_->setText(QString::fromStdString(bar_.shownCaption()));
}

}  // namespace qm::qt

namespace qm::qt {

QPixmap resourcePixmap(const std::string& name) {
    return readPng(QStringLiteral(":/images/%1.png").arg(QString::fromStdString(name)));
}

bool TimerView::running() const { return qtimer_->isActive(); }
int TimerView::runningInterval() const { return qtimer_->interval(); }

}  // namespace qm::qt
