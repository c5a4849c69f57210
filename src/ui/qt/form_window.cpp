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
        Form& form = window_.form();
        if (!form.onMouseMove) return;
        const int button = (event->buttons() & Qt::LeftButton ? 1 : 0) | (event->buttons() & Qt::RightButton ? 2 : 0) |
                           (event->buttons() & Qt::MiddleButton ? 4 : 0);
        const int shift = (event->modifiers() & Qt::ShiftModifier ? 1 : 0) |
                          (event->modifiers() & Qt::ControlModifier ? 2 : 0) |
                          (event->modifiers() & Qt::AltModifier ? 4 : 0);
        const QPointF at = event->position();
        try {
            form.onMouseMove(button, shift, at.x() * window_.scale().twipsPerPixelX(),
                             at.y() * window_.scale().twipsPerPixelY());
        } catch (const std::exception& e) {
            qWarning("quillmere: %s MouseMove: %s", form.name().c_str(), e.what());
        }
    }

private:
    FormWindow& window_;
};

}  // namespace

void paintLinesOf(FormWindow& window, const Control* owner, QPainter& painter) { window.paintLines(owner, painter); }

FormWindow::FormWindow(Form& form, QtHost& host) : form_(form), host_(host), scale_(screenScale()) {
    setObjectName(QString::fromStdString(form.name()));
    client_ = new ClientArea(*this, this);
    setCentralWidget(client_);
    layout()->setSizeConstraint(QLayout::SetFixedSize);
    setWindowIcon(host.programIcon(form.iconResource()));
    build();
    subscription_ = form.subscribe([this](Control& subject, Prop what) {
        if (&subject == &form_) mirrorForm(what);
        else if (what == Prop::ChildAdded) addView(subject);
        else if (what == Prop::ChildRemoved) removeView(subject);
    });
}

FormWindow::~FormWindow() {
    form_.unsubscribe(subscription_);
    views_.clear();
}

void FormWindow::build() {
    for (Control* control : form_.controls()) addView(*control);
    for (Prop p : {Prop::Caption, Prop::Geometry, Prop::BackColor, Prop::WindowState, Prop::Visible}) mirrorForm(p);
}

void FormWindow::addView(Control& control) {
    std::unique_ptr<ControlView> view = makeView(control, *this);
    if (!view) return;
    ControlView& ref = *view;
    views_[&control] = std::move(view);
    ref.mirrorAll();
}

// The control dies right after this call; its view may be in the middle of its own event
// (a menu item whose click unloads it), so it is deleted once that event is over.
void FormWindow::removeView(Control& control) {
    auto it = views_.find(&control);
    if (it == views_.end()) return;
    ControlView* view = it->second.release();
    views_.erase(it);
    view->detach();
    view->deleteLater();
}

ControlView* FormWindow::viewOf(const Control* control) const {
    auto it = views_.find(control);
    return it == views_.end() ? nullptr : it->second.get();
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

std::vector<std::string> FormWindow::imageListPictures() const {
    for (Control* c : form_.controls()) {
        if (c->kind() == ControlKind::ImageList) return static_cast<ImageList*>(c)->resources;
    }
    return {};
}

void FormWindow::paintLines(const Control* owner, QPainter& painter) const {
    for (Control* c : form_.childrenOf(owner)) {
        if (c->kind() != ControlKind::Line || !c->visible()) continue;
        const auto* line = static_cast<const Line*>(c);
        painter.setPen(QPen(toQColor(line->foreColor()), 1));
        painter.drawLine(scale_.x(line->x1()), scale_.y(line->y1()), scale_.x(line->x2()), scale_.y(line->y2()));
    }
}

void FormWindow::mirrorForm(Prop what) {
    mirroring_ = true;
    switch (what) {
        case Prop::Caption: setWindowTitle(QString::fromStdString(form_.caption())); break;
        case Prop::Geometry: client_->setFixedSize(scale_.x(form_.width()), scale_.y(form_.height())); break;
        case Prop::BackColor:
            if (form_.backColor() != kSystemBack) {
                QPalette palette = client_->palette();
                palette.setColor(QPalette::Window, toQColor(form_.backColor()));
                client_->setPalette(palette);
                client_->setAutoFillBackground(true);
            }
            break;
        case Prop::Enabled: setEnabled(form_.enabled()); break;
        case Prop::Visible: applyVisible(); break;
        case Prop::WindowState: applyWindowState(); break;
        default: break;
    }
    mirroring_ = false;
}

// Hiding the window that owns the tray icon, on a desktop without a tray, would leave
// the user no way back: it is minimised instead.
void FormWindow::applyVisible() {
    if (!form_.visible()) {
        if (host_.minimisesInsteadOfHiding(form_)) showMinimized();
        else hide();
        if (onHidden) onHidden();
        return;
    }
    if (!placed_) centreOnScreen();
    applyWindowState();
}

void FormWindow::applyWindowState() {
    if (!form_.visible()) return;
    switch (form_.windowState()) {
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

void FormWindow::showFromOutside() {
    try {
        form_.show();
        if (form_.windowState() == WindowState::Minimized) form_.setWindowState(WindowState::Normal);
    } catch (const std::exception& e) {
        qWarning("quillmere: %s: %s", form_.name().c_str(), e.what());
    }
    if (!isVisible() || isMinimized()) showNormal();
    bringToFront();
}

void FormWindow::bringToFront() {
    raise();
    activateWindow();
}

// The close box asks the form; a form that lets itself be closed is hidden.
void FormWindow::closeEvent(QCloseEvent* event) {
    event->ignore();
    try {
        if (form_.queryUnload(0)) form_.hide();
    } catch (const std::exception& e) {
        qWarning("quillmere: %s QueryUnload: %s", form_.name().c_str(), e.what());
    }
}

void FormWindow::changeEvent(QEvent* event) {
    QMainWindow::changeEvent(event);
    if (event->type() == QEvent::WindowStateChange && !mirroring_) userStateChange();
}

// The user minimised or restored the window: the model learns the real state. A window
// restored by hand is visible again, whatever the model thought.
void FormWindow::userStateChange() {
    const WindowState state = isMinimized()   ? WindowState::Minimized
                              : isMaximized() ? WindowState::Maximized
                                              : WindowState::Normal;
    mirroring_ = true;
    try {
        form_.setWindowState(state);
        if (state != WindowState::Minimized && isVisible() && !form_.visible()) form_.show();
    } catch (const std::exception& e) {
        qWarning("quillmere: %s: %s", form_.name().c_str(), e.what());
    }
    mirroring_ = false;
}

}  // namespace qm::qt
