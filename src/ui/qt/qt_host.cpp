#include "ui/qt/qt_host.h"

#include <QApplication>
#include <QCursor>
#include <QEventLoop>
#include <QMenu>
#include <QSessionManager>
#include <QtDebug>
#include <cstdlib>

#include "ui/qt/control_view.h"
#include "ui/qt/dialogs.h"
#include "ui/qt/end_signals.h"
#include "ui/qt/form_window.h"

namespace qm::qt {

namespace {

constexpr int kLeftDoubleClick = 515;  // WM_LBUTTONDBLCLK
constexpr int kRightButtonUp = 517;    // WM_RBUTTONUP

// Everything the program keeps is written as it changes, so ending at once loses nothing.
void endProcessAtOnce() { std::_Exit(0); }

}  // namespace

QtHost::QtHost()
    : endAction(endProcessAtOnce),
      trayAvailable([] { return QSystemTrayIcon::isSystemTrayAvailable(); }),
      popupPosition([] { return QCursor::pos(); }) {
    installFontSubstitutes();
}

QtHost::~QtHost() {
    delete tray_.data();
    windows_.clear();
}

void QtHost::attach(Form& form) {
    if (windows_.count(&form)) return;
    windows_[&form] = std::make_unique<FormWindow>(form, *this);
}

FormWindow* QtHost::windowOf(const Form& form) const {
    auto it = windows_.find(&form);
    return it == windows_.end() ? nullptr : it->second.get();
}

QIcon QtHost::programIcon(const std::string& resource) const {
    QIcon icon;
    for (int size : {16, 22, 24, 32, 48, 64, 128, 256}) {
        icon.addFile(QStringLiteral(":/icons/%1-%2.png").arg(QString::fromStdString(resource)).arg(size),
                     QSize(size, size));
    }
    return icon;
}

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

void QtHost::setForeground(Form& form) {
    if (FormWindow* window = windowOf(form)) window->bringToFront();
}

void QtHost::popupMenu(Form& form, Menu& menu) {
    FormWindow* window = windowOf(form);
    QMenu* popup = window ? window->popupOf(menu) : nullptr;
    if (popup) popup->exec(popupPosition());
}

double QtHost::twipsPerPixelX() { return screenScale().twipsPerPixelX(); }

void QtHost::endProgram() {
    if (endAction) endAction();
}

bool QtHost::minimisesInsteadOfHiding(const Form& form) const {
    return &form == trayForm_ && tray_ && !trayAvailable();
}

bool QtHost::notifyIcon(int message, const NotifyIconData& data) {
    switch (message) {
        case NIM_ADD_: addTrayIcon(data); break;
        case NIM_MODIFY_:
            if (tray_) tray_->setToolTip(QString::fromStdString(data.tip));
            break;
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
        tray_ = new QSystemTrayIcon();
        QObject::connect(tray_, &QSystemTrayIcon::activated, tray_,
                         [this](QSystemTrayIcon::ActivationReason reason) { trayActivated(reason); });
    }
    trayForm_ = data.window;
    tray_->setIcon(programIcon(data.icon));
    tray_->setToolTip(QString::fromStdString(data.tip));
    tray_->show();
}

void QtHost::trayActivated(QSystemTrayIcon::ActivationReason reason) {
    if (reason == QSystemTrayIcon::DoubleClick) sendTrayMessage(kLeftDoubleClick);
    else if (reason == QSystemTrayIcon::Context) sendTrayMessage(kRightButtonUp);
}

void QtHost::sendTrayMessage(int message) {
    if (!trayForm_ || !trayForm_->onMouseMove) return;
    try {
        trayForm_->onMouseMove(0, 0, message * twipsPerPixelX(), 0);
    } catch (const std::exception& e) {
        qWarning("quillmere: tray: %s", e.what());
    }
}

// Logging off or shutting down ends the program whatever its options say.
void QtHost::watchSessionEnd(Form& form) {
    auto unload = [this, &form] {
        if (sessionEnding_) return;
        sessionEnding_ = true;
        try {
            form.queryUnload(2);
        } catch (const std::exception& e) {
            qWarning("quillmere: session end: %s", e.what());
        }
    };
    QObject::connect(qApp, &QGuiApplication::commitDataRequest, qApp, [unload](QSessionManager&) { unload(); });
    QObject::connect(qApp, &QCoreApplication::aboutToQuit, qApp, unload);
    endSignals_ = std::make_unique<EndSignals>([unload](int) { unload(); });
}

}  // namespace qm::qt
