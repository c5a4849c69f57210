#include "ui/qt/application_names.h"

#include <QFile>
#include <QFileSystemModel>

#include "platform/posix/desktop_entry.h"

namespace qm::qt {

QVariant ApplicationNames::data(const QModelIndex& index, int role) const {
    if (role != Qt::DisplayRole || index.column() != 0) return QIdentityProxyModel::data(index, role);
    const QString path = QIdentityProxyModel::data(index, QFileSystemModel::FilePathRole).toString();
    if (!path.endsWith(QLatin1String(".desktop"), Qt::CaseInsensitive)) return QIdentityProxyModel::data(index, role);
    const QString name = nameOf(path);
    return name.isEmpty() ? QIdentityProxyModel::data(index, role) : QVariant(name);
}

// Read once per entry; an entry that gives no name keeps its file name.
QString ApplicationNames::nameOf(const QString& path) const {
    if (auto it = names_.constFind(path); it != names_.constEnd()) return *it;
    QFile file(path);
    QString name;
    if (file.size() < (1 << 20) && file.open(QIODevice::ReadOnly)) {
        const auto entry = posix::parseDesktopEntry(file.readAll().toStdString());
        if (entry && entry->type == "Application") name = QString::fromStdString(entry->name);
    }
    names_.insert(path, name);
    return name;
}

}  // namespace qm::qt
