#pragma once
// A picture box: the core draws on its canvas pixel for pixel; the view only shows the
// canvas, stretched to the control's rectangle at the screen's DPI.
#include <QImage>
#include <QWidget>

#include "forms/picture_box.h"
#include "ui/qt/control_view.h"

namespace qm::qt {

// The canvas in the backing store's own format at `size`, each pixel taken from the nearest
// canvas pixel, as an unsmoothed stretch would. Painted 1:1 it is a plain copy of rows:
// another format or a stretch at paint time sends every refresh of a graph through Qt's
// thread pool.
QImage canvasImage(const Canvas& canvas, QSize size);

class PictureSurface : public QWidget {
public:
    PictureSurface(PictureBox& box, QWidget* parent);
    // The canvas changed; it is looked at once, after the current event (the core may draw
    // hundreds of lines per refresh, each announcing a change). A refresh that drew the
    // same pixels again is not painted at all.
    void markChanged();
    std::function<void()> onExposed;

protected:
    void paintEvent(QPaintEvent* event) override;
    void showEvent(QShowEvent* event) override;
    void hideEvent(QHideEvent* event) override;

private:
    bool canvasChanged();  // whether the pixels differ from those last fingerprinted
    void repaintIfChanged();
    PictureBox& box_;
    uint64_t shownFingerprint_ = 0;  // of the pixels last looked at
    QImage shown_;                   // those pixels, converted
    bool stale_ = true;              // shown_ is not converted from them yet
    bool changed_ = true;            // the canvas changed since it was last looked at
    bool checkQueued_ = false;
};

class PictureView : public ControlView {
public:
    PictureView(PictureBox& box, FormWindow& window);

protected:
    void mirror(Prop what) override;

private:
    PictureBox& box_;
    PictureSurface* surface_;
};

}  // namespace qm::qt
