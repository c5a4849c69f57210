// A StatusNotifierWatcher of the tests' own, as KDE Plasma (or GNOME with AppIndicator
// support) runs one: it owns org.kde.StatusNotifierWatcher on the session bus, says a tray
// host is there, records the items that register and, for each line "activate" on its
// standard input, calls Activate on the last one, as a left click on the icon does.
// It reports "ready", "registered <service> <path>" and "activated <result>" on stdout.
#include <unistd.h>

#include <QCoreApplication>
#include <QDBusConnection>
#include <QDBusConnectionInterface>
#include <QDBusMessage>
#include <QSocketNotifier>
#include <QStringList>
#include <cstdio>

class Watcher : public QObject {
    Q_OBJECT
    Q_CLASSINFO("D-Bus Interface", "org.kde.StatusNotifierWatcher")
    Q_PROPERTY(QStringList RegisteredStatusNotifierItems READ items)
    Q_PROPERTY(bool IsStatusNotifierHostRegistered READ hostRegistered)
    Q_PROPERTY(int ProtocolVersion READ protocolVersion)

public:
    QStringList items() const { return items_; }
    bool hostRegistered() const { return true; }
    int protocolVersion() const { return 0; }

    void activateLast() {
        if (items_.isEmpty()) return say("activated no-item");
        const QStringList item = items_.last().split(' ');
        QDBusMessage call = QDBusMessage::createMethodCall(item[0], item[1], "org.kde.StatusNotifierItem", "Activate");
        call << 0 << 0;
        const QDBusMessage reply = QDBusConnection::sessionBus().call(call);
        say(reply.type() == QDBusMessage::ErrorMessage ? "activated error " + reply.errorMessage() : "activated ok");
    }

public slots:
    // Qt registers its bus name; other items register an object path on their own connection.
    void RegisterStatusNotifierItem(const QString& service, const QDBusMessage& message) {
        const bool path = service.startsWith('/');
        const QString item = (path ? message.service() : service) + ' ' + (path ? service : "/StatusNotifierItem");
        items_ << item;
        say("registered " + item);
        emit StatusNotifierItemRegistered(item);
    }
    void RegisterStatusNotifierHost(const QString&) {}

signals:
    void StatusNotifierItemRegistered(const QString& service);
    void StatusNotifierItemUnregistered(const QString& service);
    void StatusNotifierHostRegistered();

private:
    static void say(const QString& line) {
        std::printf("%s\n", qPrintable(line));
        std::fflush(stdout);
    }
    QStringList items_;
};

int main(int argc, char** argv) {
    QCoreApplication app(argc, argv);
    QDBusConnection bus = QDBusConnection::sessionBus();
    Watcher watcher;
    if (!bus.registerObject("/StatusNotifierWatcher", &watcher,
                            QDBusConnection::ExportAllSlots | QDBusConnection::ExportAllSignals |
                                QDBusConnection::ExportAllProperties) ||
        !bus.registerService("org.kde.StatusNotifierWatcher")) {
        std::fprintf(stderr, "sni_watcher: the session bus refused the watcher\n");
        return 1;
    }
    QSocketNotifier input(STDIN_FILENO, QSocketNotifier::Read);
    QObject::connect(&input, &QSocketNotifier::activated, &app, [&] {
        char line[64] = {};
        const ssize_t got = ::read(STDIN_FILENO, line, sizeof line - 1);
        if (got <= 0) return QCoreApplication::quit();
        if (QByteArray(line).startsWith("activate")) watcher.activateLast();
    });
    std::printf("ready\n");
    std::fflush(stdout);
    return app.exec();
}

#include "sni_watcher.moc"
