#include "ui/qt/qt_instance.h"

#include <QCoreApplication>
#include <QSocketNotifier>
#include <QtDebug>
#include <unistd.h>

#include "base/catalogue.h"
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
// Without an event loop (a release run from the command line without a window) nobody
// could answer, so nobody is asked to wait: the lock alone marks the copy.
void QtInstance::listen() {
    if (lock_.folder().empty() || !QCoreApplication::instance()) return;
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

void QtInstance::refuse(int connection, const std::string& why) {
    if (onRefused) onRefused(why);
    ::close(connection);
}

void QtInstance::serve(int connection) {
    if (!posix::peerIsSameUser(connection)) return refuse(connection, N_("another user's request"));
    auto* notifier = new QSocketNotifier(connection, QSocketNotifier::Read, listening_.get());
    auto line = std::make_shared<std::string>();
    QObject::connect(notifier, &QSocketNotifier::activated, notifier, [this, notifier, connection, line] {
        const posix::LineState state = posix::readLine(connection, *line);
        if (state == posix::LineState::Partial) return;
        notifier->setEnabled(false);
        notifier->deleteLater();
        if (state != posix::LineState::Complete) return (void)::close(connection);
        answer(connection, *line);
    });
}

// "show" is answered here; any other request by the program, whose reply (maybe much
// later, when a release ends) closes the connection.
void QtInstance::answer(int connection, const std::string& line) {
    const size_t end = line.find('\n');
    if (end == std::string::npos || end > kLongestRequest) return refuse(connection, N_("a request too long"));
    if (line == kShowRequest) {
        if (onActivate) onActivate();
        posix::writeAll(connection, kShownReply);
        return (void)::close(connection);
    }
    if (!onRequest) return (void)::close(connection);
    std::weak_ptr<bool> alive = alive_;
    onRequest(line.substr(0, end), [alive, connection](const std::string& reply) {
        if (!alive.expired()) posix::writeAll(connection, reply + "\n");
        ::close(connection);
    });
}

std::optional<std::string> QtInstance::askPreviousInstance(const std::string& request, int waitMs) {
    std::string line = posix::askLocal(lock_.socketPath(), request + "\n", waitMs);
    if (line.empty()) return std::nullopt;
    if (line.back() == '\n') line.pop_back();
    return line;
}

bool QtInstance::activatePreviousInstance() {
    return posix::askLocal(lock_.socketPath(), kShowRequest, waitMs) == kShownReply;
}

}  // namespace qm::qt
