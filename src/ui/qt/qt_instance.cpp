#include "ui/qt/qt_instance.h"

#include <QSocketNotifier>
#include <QtDebug>
#include <unistd.h>

#include "platform/posix/local_socket.h"

namespace qm::qt {

QtInstance::QtInstance(std::string folder) : lock_(std::move(folder)) {}

// Connections still being served go with the listener, whose socket file goes too.
QtInstance::~QtInstance() {
    if (listener_ < 0) return;
    listening_.reset();
    ::close(listener_);
    ::unlink(lock_.socketPath().c_str());
}

bool QtInstance::previousInstanceRunning() {
    if (!lock_.acquire()) return true;
    if (listener_ < 0) listen();
    return false;
}

bool QtInstance::previousInstanceEnded(int32_t ms) {
    if (!lock_.acquireWithin(ms)) return false;
    if (listener_ < 0) listen();
    return true;
}

// We hold the lock, so a socket file left by a copy that crashed is stale: it is replaced.
void QtInstance::listen() {
    if (lock_.folder().empty()) return;
    listener_ = posix::listenLocal(lock_.socketPath());
    if (listener_ < 0) {
        qWarning("quillmere: cannot listen on %s", lock_.socketPath().c_str());
        return;
    }
    listening_ = std::make_unique<QSocketNotifier>(listener_, QSocketNotifier::Read);
    QObject::connect(listening_.get(), &QSocketNotifier::activated, listening_.get(), [this] { acceptWaiting(); });
}

bool QtInstance::listening() const { return listener_ >= 0; }

void QtInstance::acceptWaiting() {
    for (int connection = posix::acceptLocal(listener_); connection >= 0; connection = posix::acceptLocal(listener_)) {
        serve(connection);
    }
}

void QtInstance::serve(int connection) {
    auto* notifier = new QSocketNotifier(connection, QSocketNotifier::Read, listening_.get());
    auto line = std::make_shared<std::string>();
    QObject::connect(notifier, &QSocketNotifier::activated, notifier, [this, notifier, connection, line] {
        const posix::LineState state = posix::readLine(connection, *line);
        if (state == posix::LineState::Partial) return;
        if (state == posix::LineState::Complete && *line == kShowRequest) {
            if (onActivate) onActivate();
            posix::writeAll(connection, kShownReply);
        }
        notifier->setEnabled(false);
        ::close(connection);
        notifier->deleteLater();
    });
}

bool QtInstance::activatePreviousInstance() {
    return posix::askLocal(lock_.socketPath(), kShowRequest, waitMs) == kShownReply;
}

}  // namespace qm::qt
