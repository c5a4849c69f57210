#include "ui/qt/tray_kind.h"

#include <QDBusConnection>
#include <QDBusConnectionInterface>
#include <QDBusInterface>

namespace qm::qt {

bool statusNotifierTrayPresent() {
    const QString watcher = QStringLiteral("org.kde.StatusNotifierWatcher");
    QDBusConnection bus = QDBusConnection::sessionBus();
    if (!bus.isConnected() || !bus.interface() || !bus.interface()->isServiceRegistered(watcher)) return false;
    QDBusInterface watcherObject(watcher, QStringLiteral("/StatusNotifierWatcher"), watcher, bus);
    return watcherObject.property("IsStatusNotifierHostRegistered").toBool();
}

}  // namespace qm::qt
