#include "ui/qt/qt_host.h"

#include <QApplication>
#include <QCursor>
#include <QEventLoop>
#include <QMenu>
#include <QSessionManager>
#include <QtDebug>
#include <cstdlib>
#include <thread>

#include "ui/qt/control_view.h"
#include "ui/qt/dialogs.h"
#include "ui/qt/end_signals.h"
#include "ui/qt/resource_icon.h"
#include "ui/qt/tray_kind.h"
#include "ui/qt/form_window.h"
#include "ui/qt/picture_view.h"

namespace qm::qt {

namespace {

// Everything the program keeps is written as it changes, so ending at once loses nothing.
void endProcessAtOnce() { std::_Exit(0); }

}  // namespace

QtHost::QtHost()
    : trayAvailable([] { return QSystemTrayIcon::isSystemTrayAvailable(); }),
      statusNotifierTray(statusNotifierTrayPresent),
      popupPosition([] { return QCursor::pos(); }) {
    endAction = endProcessAtOnce;
    installFontSubstitutes();
}

QtHost::~QtHost() {
    delete tray_.data();
    closeWindows();
}

std::unique_ptr<FormWindow> QtHost::makeWindow(Form& form) { return std::make_unique<FormWindow>(form, *this); }

void QtHost::setBusyPointer(Control& control, bool busy) {
    FormWindow* window = control.form() ? windowOf(*control.form()) : nullptr;
    ControlView* view = window ? window->viewOf(&control) : nullptr;
    QWidget* widget = view ? view->widget() : nullptr;
    if (!widget) return;
    if (busy) widget->setCursor(Qt::WaitCursor);
    else widget->unsetCursor();
}

QIcon QtHost::programIcon(const std::string& resource) const { return resourceIcon(resource); }

// The active window owns the box, so it stays above the window the user works in.
int QtHost::msgBox(const std::string& prompt, int style, const std::string& title) {
    return runMessageBox(QApplication::activeWindow(), prompt, style, title);
}

std::optional<std::string> QtHost::showOpenDialog(Form& owner, const std::string& filter, int flags) {
    return runOpenDialog(windowOf(owner), filter, flags);
}

void QtHost::showModal(Form& form, Form& owner) {
    attach(form);
    FormWindow* window = windowOf(form);
    if (FormWindow* parent = windowOf(owner)) window->setParent(parent, window->windowFlags() | Qt::Dialog);
    window->setWindowModality(Qt::ApplicationModal);
    QEventLoop loop;
    window->onHidden = [&loop] { loop.quit(); };
    form.show();
    if (form.visible()) loop.exec();
    window->onHidden = nullptr;
}

void QtHost::doEvents() { QCoreApplication::processEvents(QEventLoop::AllEvents); }

// The end comes back as a queued call into the event loop, which wakes a waitForEvents.
void QtHost::runInBackground(std::function<void()> work, std::function<void()> done) {
    std::thread([work = std::move(work), done = std::move(done)]() mutable {
        work();
        QMetaObject::invokeMethod(qApp, std::move(done), Qt::QueuedConnection);
    }).detach();
}

// Each picture is added at its own size, so the tray takes the one drawn for its size.
void QtHost::setTrayPictures(Form&, std::vector<Canvas> pictures) {
    trayPictures_ = QIcon();
    for (const Canvas& picture : pictures) {
        trayPictures_.addPixmap(QPixmap::fromImage(canvasImage(picture, QSize(picture.width(), picture.height()))));
    }
    if (tray_) tray_->setIcon(trayPictures_.isNull() ? programIcon(trayIconName_) : trayPictures_);
}

void QtHost::waitForEvents() { QCoreApplication::processEvents(QEventLoop::WaitForMoreEvents); }

double QtHost::twipsPerPixelX() { return screenScale().twipsPerPixelX(); }

bool QtHost::minimisesInsteadOfHiding(const Form& form) const {
    return &form == trayForm_ && tray_ && !trayAvailable();
}

bool QtHost::notifyIcon(int message, const NotifyIconData& data) {
    switch (message) {
        case NIM_ADD_: addTrayIcon(data); break;
        case NIM_MODIFY_:
            // Each tick changes the tip: asking the desktop whether a tray is there costs
            // more than the change, and an icon that is there was shown in one.
            if (!tray_) return false;
            tray_->setToolTip(QString::fromStdString(data.tip));
            return true;
        case NIM_DELETE_:
            if (tray_) tray_->hide();
            delete tray_.data();
            trayForm_ = nullptr;
            break;
        default: return false;
    }
    return trayAvailable();
}

// No context menu of Qt's own: the core pops up its File menu on the right button.
void QtHost::addTrayIcon(const NotifyIconData& data) {
    if (!tray_) {
        // Qt chooses the kind of tray as it makes the icon; so does the click's meaning.
        trayKind_ = statusNotifierTray && statusNotifierTray() ? TrayKind::SingleActivationOnly
                                                                : TrayKind::ClickThenDoubleClick;
        tray_ = new QSystemTrayIcon();
        QObject::connect(tray_, &QSystemTrayIcon::activated, tray_,
                         [this](QSystemTrayIcon::ActivationReason reason) { trayActivated(reason); });
    }
    trayForm_ = data.window;
    trayIconName_ = data.icon;
    tray_->setIcon(trayPictures_.isNull() ? programIcon(data.icon) : trayPictures_);
    tray_->setToolTip(QString::fromStdString(data.tip));
    tray_->show();
}

namespace {

TrayActivation activationOf(QSystemTrayIcon::ActivationReason reason) {
    switch (reason) {
        case QSystemTrayIcon::Trigger: return TrayActivation::Single;
        case QSystemTrayIcon::DoubleClick: return TrayActivation::Double;
        case QSystemTrayIcon::Context: return TrayActivation::Context;
        default: return TrayActivation::Other;
    }
}

}  // namespace

void QtHost::trayActivated(QSystemTrayIcon::ActivationReason reason) {
    reportTray(activationOf(reason));
}

void QtHost::reportTray(TrayActivation activation) {
    if (FormWindow* window = trayForm_ ? windowOf(*trayForm_) : nullptr) window->trayActivated({activation, trayKind_});
}

// Logging off or shutting down ends the program whatever its options say.
void QtHost::watchSessionEnd(Form& form) {
    auto unload = [this, &form] {
        if (FormWindow* window = windowOf(form)) window->sessionEnds();
    };
    QObject::connect(qApp, &QGuiApplication::commitDataRequest, qApp, [unload](QSessionManager&) { unload(); });
    QObject::connect(qApp, &QCoreApplication::aboutToQuit, qApp, unload);
    endSignals_ = std::make_unique<EndSignals>([unload](int) { unload(); });
}

}  // namespace qm::qt
