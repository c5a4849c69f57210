#include "ui/qt/qt_instance.h"

#include <QLocalServer>
#include <QLocalSocket>

namespace qm::qt {

QtInstance::QtInstance(std::string folder) : lock_(std::move(folder)) {}

QtInstance::~QtInstance() { delete server_.data(); }

bool QtInstance::previousInstanceRunning() {
    if (!lock_.acquire()) return true;
    if (!server_) listen();
    return false;
}

bool QtInstance::previousInstanceEnded(int32_t ms) {
    if (!lock_.acquireWithin(ms)) return false;
    if (!server_) listen();
    return true;
}

// We hold the lock, so a socket file left by a copy that crashed is stale: replace it.
void QtInstance::listen() {
    if (lock_.folder().empty()) return;
    const QString path = QString::fromStdString(lock_.socketPath());
    QLocalServer::removeServer(path);
    server_ = new QLocalServer();
    server_->setSocketOptions(QLocalServer::UserAccessOption);
    QObject::connect(server_, &QLocalServer::newConnection, server_, [this] {
        while (QLocalSocket* socket = server_->nextPendingConnection()) {
            QObject::connect(socket, &QLocalSocket::readyRead, socket, [this, socket] { answer(socket); });
            QObject::connect(socket, &QLocalSocket::disconnected, socket, &QObject::deleteLater);
        }
    });
    if (!server_->listen(path)) qWarning("quillmere: cannot listen on %s", qPrintable(path));
}

bool QtInstance::listening() const { return server_ && server_->isListening(); }

void QtInstance::answer(QLocalSocket* socket) {
    if (!socket->canReadLine()) return;
    if (socket->readLine() != kShowRequest) {
        socket->disconnectFromServer();
        return;
    }
    if (onActivate) onActivate();
    socket->write(kShownReply);
    socket->flush();
    socket->disconnectFromServer();
}

bool QtInstance::activatePreviousInstance() {
    QLocalSocket socket;
    socket.connectToServer(QString::fromStdString(lock_.socketPath()));
    if (!socket.waitForConnected(waitMs)) return false;
    socket.write(kShowRequest);
    if (!socket.waitForBytesWritten(waitMs)) return false;
    while (!socket.canReadLine()) {
        if (!socket.waitForReadyRead(waitMs)) return false;
    }
    return socket.readLine() == kShownReply;
}

}  // namespace qm::qt
