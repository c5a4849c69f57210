#include "ui/qt/picture_view.h"

#include <QPainter>
#include <QTimer>
#include <bit>
#include <qdrawutil.h>

namespace qm::qt {

// A 0x00BBGGRR word is the bytes R, G, B, 0 in memory here, the byte order of RGBX8888,
// whose fourth byte Qt's painting does not read.
QImage canvasImage(const Canvas& canvas) {
    static_assert(std::endian::native == std::endian::little, "canvas words are read as R, G, B, X bytes");
    if (canvas.width() <= 0 || canvas.height() <= 0) return {};
    return QImage(reinterpret_cast<const uchar*>(canvas.pixels().data()), canvas.width(), canvas.height(),
                  canvas.width() * static_cast<int>(sizeof(uint32_t)), QImage::Format_RGBX8888);
}

PictureSurface::PictureSurface(PictureBox& box, QWidget* parent) : QWidget(parent), box_(box) {
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

void PictureSurface::repaintIfChanged() {
    if (!changed_) return;
    changed_ = false;
    const Canvas& canvas = box_.image();
    if (canvasFingerprint(canvas) != shownFingerprint_) update();
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
    const Canvas& canvas = box_.image();
    shownFingerprint_ = canvasFingerprint(canvas);
    changed_ = false;
    const QImage pixels = canvasImage(canvas);
    if (!pixels.isNull()) painter.drawImage(inner, pixels);
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
