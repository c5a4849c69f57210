#include "ui/qt/picture_view.h"

#include <QAccessibleWidget>
#include <QPainter>
#include <QTimer>
#include <qdrawutil.h>

namespace qm::qt {

// A canvas word is 0x00BBGGRR; an RGB32 pixel is 0xFFRRGGBB.
QImage canvasImage(const Canvas& canvas, QSize size) {
    const int w = canvas.width(), h = canvas.height();
    if (w <= 0 || h <= 0 || size.isEmpty()) return {};
    QImage image(size, QImage::Format_RGB32);
    const std::vector<uint32_t>& pixels = canvas.pixels();
    for (int y = 0; y < size.height(); ++y) {
        const uint32_t* from = pixels.data() + static_cast<size_t>(y * h / size.height()) * w;
        auto* to = reinterpret_cast<QRgb*>(image.scanLine(y));
        for (int x = 0; x < size.width(); ++x) {
            const uint32_t c = from[x * w / size.width()];
            to[x] = 0xFF000000u | (c & 0xFFu) << 16 | (c & 0xFF00u) | (c >> 16 & 0xFFu);
        }
    }
    return image;
}

namespace {

// A screen reader reads a picture or graph as an image with its purpose, not as a filler.
QAccessibleInterface* pictureAccessible(const QString&, QObject* object) {
    auto* surface = dynamic_cast<PictureSurface*>(object);
    return surface ? new QAccessibleWidget(surface, QAccessible::Graphic) : nullptr;
}

}  // namespace

PictureSurface::PictureSurface(PictureBox& box, QWidget* parent) : QWidget(parent), box_(box) {
    static const bool announced = (QAccessible::installFactory(pictureAccessible), true);
    (void)announced;
    setAttribute(Qt::WA_OpaquePaintEvent);
    box_.setOnScreen(false);
}

// A surface nobody sees is not compared: showing it paints it anyway.
void PictureSurface::markChanged() {
    changed_ = true;
    if (checkQueued_ || !isVisible()) return;
    checkQueued_ = true;
    QTimer::singleShot(0, this, [this] {
        checkQueued_ = false;
        repaintIfChanged();
    });
}

// Each change is fingerprinted once, here or at the paint that comes first.
bool PictureSurface::canvasChanged() {
    if (!changed_) return false;
    changed_ = false;
    const uint64_t fingerprint = canvasFingerprint(box_.image());
    if (fingerprint == shownFingerprint_) return false;
    shownFingerprint_ = fingerprint;
    stale_ = true;
    return true;
}

void PictureSurface::repaintIfChanged() {
    if (canvasChanged()) update();
}

// The border takes the same share of the rectangle as its 2 design pixels take of the design.
void PictureSurface::paintEvent(QPaintEvent*) {
    QPainter painter(this);
    QRect inner = rect();
    if (box_.hasBorder()) {
        const int bx = std::max(1, width() * 2 / std::max(1, box_.width() / kTwipsPerPixel));
        qDrawShadePanel(&painter, rect(), palette(), true, bx);
        inner = rect().adjusted(bx, bx, -bx, -bx);
    }
    painter.fillRect(inner, QColor(redOf(box_.backColor()), greenOf(box_.backColor()), blueOf(box_.backColor())));
    canvasChanged();
    if (stale_ || shown_.size() != inner.size()) {
        shown_ = canvasImage(box_.image(), inner.size());
        stale_ = false;
    }
    if (!shown_.isNull()) painter.drawImage(inner.topLeft(), shown_);
}

// Exposure is the moment the classic surface raises its Paint event; it is raised after
// the current event, so the core's drawing never runs inside Qt's painting.
void PictureSurface::showEvent(QShowEvent* event) {
    QWidget::showEvent(event);
    box_.setOnScreen(true);
    QTimer::singleShot(0, this, [this] {
        if (onExposed) onExposed();
    });
}

void PictureSurface::hideEvent(QHideEvent* event) {
    QWidget::hideEvent(event);
    box_.setOnScreen(false);
}

PictureView::PictureView(PictureBox& box, FormWindow& window)
    : ControlView(box, window), box_(box), surface_(new PictureSurface(box, parentWidget())) {
    surface_->onExposed = [this] { userAction([this] { box_.raisePaint(); }, Prop::Picture); };
    setWidget(surface_);
}

// A picture's fore colour is the pen of its drawing (the gauges change it line by line):
// it is already in the pixels and no colour of the widget's, nor of controls inside it.
void PictureView::mirror(Prop what) {
    if (what != Prop::ForeColor) ControlView::mirror(what);
    if (detached()) return;
    if (what == Prop::Picture) surface_->markChanged();
    if (what == Prop::Geometry || what == Prop::BackColor) surface_->update();
}

}  // namespace qm::qt
