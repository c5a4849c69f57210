#include "ui/qt/picture_view.h"

#include <QPainter>
#include <QTimer>
#include <qdrawutil.h>

namespace qm::qt {

QImage toQImage(const Canvas& canvas) {
    QImage image(canvas.width(), canvas.height(), QImage::Format_RGB32);
    const std::vector<uint32_t>& pixels = canvas.pixels();
    for (int y = 0; y < canvas.height(); ++y) {
        auto* line = reinterpret_cast<QRgb*>(image.scanLine(y));
        for (int x = 0; x < canvas.width(); ++x) {
            const Color c = pixels[static_cast<size_t>(y) * static_cast<size_t>(canvas.width()) + static_cast<size_t>(x)];
            line[x] = qRgb(redOf(c), greenOf(c), blueOf(c));
        }
    }
    return image;
}

PictureSurface::PictureSurface(PictureBox& box, QWidget* parent) : QWidget(parent), box_(box) {
    setAttribute(Qt::WA_OpaquePaintEvent);
    box_.setOnScreen(false);
}

// A surface nobody sees is neither compared nor converted: showing it paints it anyway.
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
    const Canvas& canvas = box_.image();
    if (canvas.width() == shownWidth_ && canvas.pixels() == shownPixels_) {
        changed_ = false;
        return;
    }
    update();
}

const QImage& PictureSurface::image() {
    if (changed_) {
        const Canvas& canvas = box_.image();
        image_ = toQImage(canvas);
        shownPixels_ = canvas.pixels();
        shownWidth_ = canvas.width();
    }
    changed_ = false;
    return image_;
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
    if (!image().isNull()) painter.drawImage(inner, image());
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
