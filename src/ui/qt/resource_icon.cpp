#include "ui/qt/resource_icon.h"

#include <QImageReader>
#include <QPainter>
#include <QPixmap>
#include <array>

namespace qm::qt {

namespace {

constexpr std::array<int, 8> kShippedSizes = {16, 22, 24, 32, 48, 64, 128, 256};

}  // namespace

ResourceIconEngine::ResourceIconEngine(QString name) : name_(std::move(name)) {}

int ResourceIconEngine::shippedSizeFor(const QSize& size) const {
    const int wanted = std::max(size.width(), size.height());
    for (int shipped : kShippedSizes) {
        if (shipped >= wanted) return shipped;
    }
    return kShippedSizes.back();
}

QPixmap ResourceIconEngine::pixmap(const QSize& size, QIcon::Mode, QIcon::State) {
    if (size.isEmpty()) return {};
    const int shipped = shippedSizeFor(size);
    QPixmap picture = readPng(QStringLiteral(":/icons/%1-%2.png").arg(name_).arg(shipped));
    // Scaled down, never up, as an icon of loaded pictures does.
    if (picture.isNull() || (picture.width() <= size.width() && picture.height() <= size.height())) return picture;
    return picture.scaled(size, Qt::KeepAspectRatio, Qt::SmoothTransformation);
}

void ResourceIconEngine::paint(QPainter* painter, const QRect& rect, QIcon::Mode mode, QIcon::State state) {
    const qreal ratio = painter->device() ? painter->device()->devicePixelRatio() : 1.0;
    QPixmap picture = pixmap(rect.size() * ratio, mode, state);
    picture.setDevicePixelRatio(ratio);
    painter->drawPixmap(rect, picture);
}

// Never larger than asked: the pictures are square and scale down.
QSize ResourceIconEngine::actualSize(const QSize& size, QIcon::Mode, QIcon::State) {
    const int side = std::min({size.width(), size.height(), kShippedSizes.back()});
    return {side, side};
}

QList<QSize> ResourceIconEngine::availableSizes(QIcon::Mode, QIcon::State) {
    QList<QSize> sizes;
    for (int shipped : kShippedSizes) sizes.append(QSize(shipped, shipped));
    return sizes;
}

QIconEngine* ResourceIconEngine::clone() const { return new ResourceIconEngine(name_); }

QPixmap readPng(const QString& path) {
    QImageReader reader(path, "png");
    reader.setAutoDetectImageFormat(false);
    return QPixmap::fromImage(reader.read());
}

QIcon resourceIcon(const std::string& name) { return QIcon(new ResourceIconEngine(QString::fromStdString(name))); }

}  // namespace qm::qt
