#include "ui/qt/control_view.h"

#include <QAbstractItemView>
#include <QComboBox>
#include <QEvent>
#include <QGuiApplication>
#include <QLabel>
#include <QScreen>
#include <QSignalBlocker>
#include <QtDebug>
#include <cmath>
#include <exception>

#include "forms/accessible_name.h"
#include "forms/form_link.h"
#include "ui/qt/form_window.h"

namespace qm::qt {

TwipScale screenScale() {
    const QScreen* screen = QGuiApplication::primaryScreen();
    if (!screen) return {};
    return {screen->logicalDotsPerInchX(), screen->logicalDotsPerInchY()};
}

void reportStray(const std::string& who, const char* what) { qWarning("quillmere: %s: %s", who.c_str(), what); }

QColor toQColor(Color c) { return QColor(redOf(c), greenOf(c), blueOf(c)); }

QString withoutAccessKeys(const std::string& caption) { return QString::fromStdString(qm::withoutAccessKeys(caption)); }

ControlView::ControlView(Control& control, FormWindow& window) : control_(control), window_(window) {
    subscription_ = control.subscribe([this](Control& subject, Prop what) {
        if (&subject != &control_ || (what == Prop::Caption && window_.holdsCaption(control_))) return;
        mirror(what);
    });
}

void ControlView::showHeldCaption() { mirror(Prop::Caption); }

ControlView::~ControlView() {
    if (!detached_) control_.unsubscribe(subscription_);
    if (widget_) delete widget_.data();
}

void ControlView::detach() {
    control_.unsubscribe(subscription_);
    detached_ = true;
    if (widget_) widget_->hide();
}

const TwipScale& ControlView::scale() const { return window_.scale(); }

QWidget* ControlView::parentWidget() const { return window_.containerOf(control_.parent()); }

void ControlView::setWidget(QWidget* widget) {
    widget_ = widget;
    widget->setObjectName(QString::fromStdString(control_.name()));
}

void ControlView::setCaptionFit(CaptionFit fit) {
    captionFit_ = fit;
    if (fit != CaptionFit::None && widget()) widget()->installEventFilter(this);
}

bool ControlView::eventFilter(QObject* watched, QEvent* event) {
    if (fitDue_ && watched == widget() && event->type() == QEvent::Show) mirrorGeometry();
    return false;
}

void ControlView::mirrorAll() {
    for (Prop p : kViewProps) mirror(p);
    mirrorAccessibleName();
}

// Lists, pictures and the like have no caption a screen reader could read: they take the
// name the core gives them. A captioned control keeps reading its own, live caption.
void ControlView::mirrorAccessibleName() {
    const std::string name = borrowedName(control_);
    QWidget* w = widget();
    if (!w || name.empty()) return;
    w->setAccessibleName(QString::fromStdString(name));
    // A drop-down's entries are a list of their own, read once it opens.
    if (auto* combo = qobject_cast<QComboBox*>(w)) combo->view()->setAccessibleName(w->accessibleName());
    // On Linux a drop-down's name is its value: readers say what it is from the label that
    // is related to it, which Qt takes from a label's buddy or the enclosing group's title.
    // A check box cannot be that label, so the name is its description there.
    const Control* label = labelOf(control_);
    ControlView* labelView = label ? window_.viewOf(label) : nullptr;
    if (auto* labelWidget = labelView ? qobject_cast<QLabel*>(labelView->widget()) : nullptr) labelWidget->setBuddy(w);
    else if (label && label->kind() == ControlKind::CheckBox) w->setAccessibleDescription(w->accessibleName());
}

void ControlView::mirror(Prop what) {
    QWidget* w = widget();
    if (!w || detached_) return;
    const QSignalBlocker blocker(w);
    switch (what) {
        case Prop::Caption:
            if (captionFit_ != CaptionFit::None) mirrorGeometry();
            break;
        case Prop::Geometry: mirrorGeometry(); break;
        case Prop::Visible: w->setVisible(control_.visible()); break;
        case Prop::Enabled: w->setEnabled(control_.enabled()); break;
        case Prop::ForeColor:
        case Prop::BackColor: mirrorColors(); break;
        case Prop::ToolTip: w->setToolTip(QString::fromStdString(control_.shownToolTip())); break;
        case Prop::Font:
            mirrorFont();
            if (captionFit_ != CaptionFit::None) mirrorGeometry();
            break;
        case Prop::ZOrder: mirrorZOrder(); break;
        default: break;
    }
}

// Measuring a caption lays its text out, which a widget nobody sees does not need: it
// stands in its design box until it is shown, and is fitted then.
void ControlView::mirrorGeometry() {
    QWidget* w = widget();
    fitDue_ = captionFit_ != CaptionFit::None && !w->isVisible();
    const TwipBox box = fitDue_ ? designBox(control_) : shownBox();
    w->setGeometry(toQRect(scale().rect(box.left, box.top, box.width, box.height)));
}

TwipBox ControlView::shownBox() const {
    const QWidget* w = widget();
    const TwipScale& s = scale();
    const auto twipsX = [&s](int px) { return static_cast<int>(std::ceil(px * s.twipsPerPixelX())); };
    const auto twipsY = [&s](int px) { return static_cast<int>(std::ceil(px * s.twipsPerPixelY())); };
    const auto pixelsWide = [&](int twips) { return s.x(control_.left() + twips) - s.x(control_.left()); };
    switch (w ? captionFit_ : CaptionFit::None) {
        case CaptionFit::OneLine: return fitOneLine(control_, twipsX(w->sizeHint().width()));
        case CaptionFit::Wrapped:
            return fitWrapped(control_, [&](int width) { return twipsY(w->heightForWidth(pixelsWide(width))); });
        case CaptionFit::None: break;
    }
    return designBox(control_);
}

void ControlView::mirrorColors() {
    QWidget* w = widget();
    QPalette palette = w->palette();
    const QPalette system = QGuiApplication::palette();
    const bool ownText = control_.foreColor() != kSystemText;
    for (QPalette::ColorRole role : {QPalette::WindowText, QPalette::ButtonText, QPalette::Text}) {
        palette.setColor(role, ownText ? toQColor(control_.foreColor()) : system.color(role));
    }
    const bool ownBack = control_.backColor() != kSystemBack;
    palette.setColor(QPalette::Window, ownBack ? toQColor(control_.backColor()) : system.color(QPalette::Window));
    w->setPalette(palette);
}

// Fonts the desktop lacks (the classic "MS Sans Serif", Tahoma, Verdana) are replaced by
// families of like width (installFontSubstitutes), so texts fit the designed rectangles.
void ControlView::mirrorFont() {
    QFont font = widget()->font();
    font.setFamily(QString::fromStdString(control_.fontName()));
    font.setPointSizeF(control_.fontSize() > 0 ? control_.fontSize() : 8);
    font.setBold(control_.fontBold());
    widget()->setFont(font);
}

void installFontSubstitutes() {
    QFont::insertSubstitutions("MS Sans Serif",
                               {"Liberation Sans", "Arimo", "Nimbus Sans", "DejaVu Sans Condensed", "DejaVu Sans"});
    QFont::insertSubstitutions("Tahoma", {"DejaVu Sans Condensed", "Liberation Sans", "DejaVu Sans"});
    QFont::insertSubstitutions("Verdana", {"DejaVu Sans", "Liberation Sans"});
}

void ControlView::mirrorZOrder() {
    if (control_.zOrder() > 0) widget()->raise();
    else if (control_.zOrder() < 0) widget()->lower();
}

void ControlView::userAction(const std::function<void()>& action, Prop resync) {
    try {
        action();
    } catch (const std::exception& e) {
        reportStray(control_.name(), e.what());
    }
    if (!detached_) mirror(resync);
}

}  // namespace qm::qt
