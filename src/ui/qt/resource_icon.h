#pragma once
// The program's icons: one compiled-in picture per size (":/icons/<name>-<size>.png"), read
// only when a size is asked for. A window and the tray ask for their sizes once or twice,
// so no decoded picture stays in memory, where an icon of loaded pictures would keep all
// eight (a third of a megabyte) for every window, the application and the tray.
#include <QIcon>
#include <QIconEngine>

namespace qm::qt {

class ResourceIconEngine : public QIconEngine {
public:
    explicit ResourceIconEngine(QString name);

    QPixmap pixmap(const QSize& size, QIcon::Mode mode, QIcon::State state) override;
    void paint(QPainter* painter, const QRect& rect, QIcon::Mode mode, QIcon::State state) override;
    QSize actualSize(const QSize& size, QIcon::Mode mode, QIcon::State state) override;
    QList<QSize> availableSizes(QIcon::Mode mode, QIcon::State state) override;
    QIconEngine* clone() const override;
    QString key() const override { return QStringLiteral("quillmere-resource"); }

private:
    // The smallest shipped size that covers `size`, else the largest.
    int shippedSizeFor(const QSize& size) const;

    QString name_;
};

// The icon of that name.
QIcon resourceIcon(const std::string& name);

// A compiled-in PNG picture, read as PNG without asking the image plug-ins, and as an
// image: QPixmap's own loading would keep every picture it read in the pixmap cache too.
QPixmap readPng(const QString& path);

}  // namespace qm::qt
