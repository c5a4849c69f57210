#include "forms/picture_box.h"

#include <cmath>

#include "base/app_error.h"

namespace qm {

PictureBox::PictureBox(std::string name, int index) : Control(ControlKind::PictureBox, std::move(name), index) {
    setBackColor(rgb(255, 255, 255));
}

void PictureBox::setBorder(bool on) {
    border_ = on;
    syncSize();
}

int PictureBox::clientWidthPx() const {
    const int px = width() / kTwipsPerPixel - (border_ ? 4 : 0);
    return px > 0 ? px : 0;
}

int PictureBox::clientHeightPx() const {
    const int px = height() / kTwipsPerPixel - (border_ ? 4 : 0);
    return px > 0 ? px : 0;
}

int PictureBox::scaleWidth() const {
    return scaleMode_ == ScaleMode::Pixels ? clientWidthPx() : clientWidthPx() * kTwipsPerPixel;
}

int PictureBox::scaleHeight() const {
    return scaleMode_ == ScaleMode::Pixels ? clientHeightPx() : clientHeightPx() * kTwipsPerPixel;
}

void PictureBox::syncSize() {
    if (image_.width() == clientWidthPx() && image_.height() == clientHeightPx()) return;
    image_.resize(clientWidthPx(), clientHeightPx(), backColor());
    notify(Prop::Picture);
}

void PictureBox::setPicture(const Canvas& picture) {
    picture_ = picture;
    cls();
}

void PictureBox::keepImageAsPicture() { picture_ = image_; }

void PictureBox::cls() {
    if (drawingLost()) return;
    syncSize();
    image_.fill(backColor());
    if (picture_) image_.blit(*picture_, 0, 0);
    notify(Prop::Picture);
}

int PictureBox::toPixels(int units) const {
    if (scaleMode_ == ScaleMode::Pixels) return units;
    return static_cast<int>(std::lround(static_cast<double>(units) / kTwipsPerPixel));
}

void PictureBox::line(int x1, int y1, int x2, int y2) { line(x1, y1, x2, y2, foreColor()); }

void PictureBox::line(int x1, int y1, int x2, int y2, Color color) {
    if (drawingLost()) return;
    syncSize();
    image_.line(toPixels(x1), toPixels(y1), toPixels(x2), toPixels(y2), color);
    notify(Prop::Picture);
}

void PictureBox::raisePaint() {
    if (onPaint) onPaint();
}

std::string pictureFileBytes(const Canvas& image) {
    const std::vector<uint8_t> bytes = encodeBmp(image);
    return std::string(bytes.begin(), bytes.end());
}

Canvas pictureFromFileBytes(const std::string& bytes) {
    const std::optional<Canvas> canvas = decodeBmp(std::vector<uint8_t>(bytes.begin(), bytes.end()));
    if (!canvas) raiseError(481);
    return *canvas;
}

}  // namespace qm
