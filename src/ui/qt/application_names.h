#pragma once
// The open dialog's file list with each application entry (.desktop file) shown by the
// Name it gives itself, as the desktop's menus show it. The path comes from the file
// model's path role.
#include <QHash>
#include <QIdentityProxyModel>

namespace qm::qt {

class ApplicationNames : public QIdentityProxyModel {
public:
    using QIdentityProxyModel::QIdentityProxyModel;
    QVariant data(const QModelIndex& index, int role) const override;

private:
    QString nameOf(const QString& path) const;
    mutable QHash<QString, QString> names_;
};

}  // namespace qm::qt
