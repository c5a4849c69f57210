#include "ui/qt/form_window.h"

#include <QCloseEvent>
#include <QGuiApplication>
#include <QLayout>
#include <QMenuBar>
#include <QMouseEvent>
#include <QScreen>
#include <QtDebug>

#include "ui/qt/basic_views.h"
#include "ui/qt/line_container.h"
#include "ui/qt/menu_view.h"
#include "ui/qt/qt_host.h"

namespace qm::qt {

namespace {

// The client area: it draws the form's own lines and passes mouse moves over its bare
// background to the form's MouseMove event, in twips.
class ClientArea : public LineContainer<QWidget> {
public:
    ClientArea(FormWindow& window, QWidget* parent) : LineContainer<QWidget>(window, nullptr, parent), window_(window) {
        setMouseTracking(true);
    }

protected:
    void mouseMoveEvent(QMouseEvent* event) override {
        const int button = (event->buttons() & Qt::LeftButton ? 1 : 0) | (event->buttons() & Qt::RightButton ? 2 : 0) |
                           (event->buttons() & Qt::MiddleButton ? 4 : 0);
        const int shift = (event->modifiers() & Qt::ShiftModifier ? 1 : 0) |
                          (event->modifiers() & Qt::ControlModifier ? 2 : 0) |
                          (event->modifiers() & Qt::AltModifier ? 4 : 0);
        window_.mouseMoved(button, shift, event->position().x(), event->position().y());
    }

private:
    FormWindow& window_;
};

}  // namespace

void paintLinesOf(FormWindow& window, const Control* owner, QPainter& painter) { window.paintLines(owner, painter); }

FormWindow::FormWindow(Form& form, QtHost& host)
    : FormMirror(form, screenScale(), reportStray), host_(host) {
    setObjectName(QString::fromStdString(form.name()));
    client_ = new ClientArea(*this, this);
    setCentralWidget(client_);
    layout()->setSizeConstraint(QLayout::SetFixedSize);
    setWindowIcon(host.programIcon(form.iconResource()));
    follow();
}

FormWindow::~FormWindow() { stopFollowing(); }

void FormWindow::addView(Control& control) { adopt(control, makeView(control, *this)); }

// The view may be in the middle of its own event (a menu item whose click unloads it), so
// it is deleted once that event is over.
void FormWindow::removeView(Control& control) {
    if (std::unique_ptr<ControlView> view = release(control)) view.release()->deleteLater();
}

MenuView* FormWindow::menuViewOf(const Control* control) const {
    return control && control->kind() == ControlKind::Menu ? static_cast<MenuView*>(viewOf(control)) : nullptr;
}

QWidget* FormWindow::containerOf(const Control* parent) const {
    if (!parent) return client_;
    ControlView* view = viewOf(parent);
    return view && view->container() ? view->container() : client_;
}

QWidget* FormWindow::menuContainer(const Control* parent) {
    if (!parent) return menuBar();
    MenuView* view = menuViewOf(parent);
    return view && view->submenu() ? static_cast<QWidget*>(view->submenu()) : menuBar();
}

QMenu* FormWindow::popupOf(const Menu& menu) const {
    MenuView* view = menuViewOf(&menu);
    return view ? view->submenu() : nullptr;
}

void FormWindow::popup(Menu& menu) {
    if (QMenu* items = popupOf(menu)) items->exec(host_.popupPosition());
}

void FormWindow::paintLines(const Control* owner, QPainter& painter) const {
    for (Control* c : form().childrenOf(owner)) {
        if (c->kind() != ControlKind::Line || !c->visible()) continue;
        const auto* line = static_cast<const Line*>(c);
        painter.setPen(QPen(toQColor(line->foreColor()), 1));
        painter.drawLine(scale().x(line->x1()), scale().y(line->y1()), scale().x(line->x2()), scale().y(line->y2()));
    }
}

void FormWindow::mirrorWindow(Prop what) {
    const Form& model = form();
    switch (what) {
        case Prop::Caption: setWindowTitle(QString::fromStdString(model.shownCaption())); break;
        case Prop::Geometry: client_->setFixedSize(scale().x(model.width()), scale().y(model.height())); break;
        case Prop::BackColor:
            if (model.backColor() != kSystemBack) {
                QPalette palette = client_->palette();
                palette.setColor(QPalette::Window, toQColor(model.backColor()));
                client_->setPalette(palette);
                client_->setAutoFillBackground(true);
            }
            break;
        case Prop::Enabled: setEnabled(model.enabled()); break;
        case Prop::Visible: applyVisible(); break;
        case Prop::WindowState: applyWindowState(); break;
        default: break;
    }
}

// Hiding the window that owns the tray icon, on a desktop without a tray, would leave
// the user no way back: it is minimised instead.
void FormWindow::applyVisible() {
    if (!form().visible()) {
        if (host_.minimisesInsteadOfHiding(form())) showMinimized();
        else hide();
        formHidden();
        return;
    }
    if (!placed_) centreOnScreen();
    applyWindowState();
}

void FormWindow::applyWindowState() {
    if (!form().visible()) return;
    switch (form().windowState()) {
        case WindowState::Minimized: showMinimized(); break;
        case WindowState::Maximized: showMaximized(); break;
        case WindowState::Normal: showNormal(); break;
    }
}

void FormWindow::centreOnScreen() {
    placed_ = true;
    ensurePolished();
    adjustSize();
    if (const QScreen* screen = QGuiApplication::primaryScreen()) {
        QRect frame(QPoint(), sizeHint());
        frame.moveCenter(screen->availableGeometry().center());
        move(frame.topLeft());
    }
}

// The model first, so a minimised or hidden window is restored by the model's own change;
// a window the model already thought shown is brought back here.
void FormWindow::showFromOutside() {
    showFormFromOutside();
    if (!isVisible() || isMinimized()) showNormal();
    bringToFront();
}

void FormWindow::bringToFront() {
    raise();
    activateWindow();
}

void FormWindow::closeEvent(QCloseEvent* event) {
    event->ignore();
    closeBox();
}

// Before the window maps, so its first frame already shows every caption.
void FormWindow::showEvent(QShowEvent* event) {
    showHeldCaptions();
    QMainWindow::showEvent(event);
}

void FormWindow::changeEvent(QEvent* event) {
    QMainWindow::changeEvent(event);
    if (event->type() != QEvent::WindowStateChange) return;
    const WindowState state = isMinimized()   ? WindowState::Minimized
                              : isMaximized() ? WindowState::Maximized
                                              : WindowState::Normal;
    userChangedState(state, isVisible());
}

}  // namespace qm::qt
