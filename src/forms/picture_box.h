#pragma once
// A drawing surface: a persistent pixel image over an optional background picture,
// addressed in twips or pixels.
#include <functional>
#include <optional>
#include <string>

#include "forms/canvas.h"
#include "forms/control.h"

namespace qm {

constexpr int kTwipsPerPixel = 15;

enum class ScaleMode { Twips, Pixels };

class PictureBox : public Control {
public:
    static constexpr ControlKind kKind = ControlKind::PictureBox;
    explicit PictureBox(std::string name, int index = -1);

    ScaleMode scaleMode() const { return scaleMode_; }
    void setScaleMode(ScaleMode mode) { scaleMode_ = mode; }
    // A fixed single border takes 2 pixels on each side from the client area.
    bool hasBorder() const { return border_; }
    void setBorder(bool on);
    bool autoRedraw() const { return autoRedraw_; }
    void setAutoRedraw(bool on) { autoRedraw_ = on; }
    // Whether the surface can be seen; the host says so as it shows and hides it. Drawing
    // that a surface neither keeps (AutoRedraw) nor shows is lost at once, so a surface with
    // a Paint handler skips it: the handler draws it anew when it is shown again.
    bool onScreen() const { return onScreen_; }
    void setOnScreen(bool seen) { onScreen_ = seen; }
    // Whether drawing now would be skipped, so a many-line drawing can skip its loop too.
    bool drawingLost() const { return !autoRedraw_ && !onScreen_ && onPaint; }

    int clientWidthPx() const;
    int clientHeightPx() const;
    // The client size in the current scale.
    int scaleWidth() const;
    int scaleHeight() const;

    // What the host shows: the background picture with everything drawn since the last clear.
    const Canvas& image() const { return image_; }
    const std::optional<Canvas>& picture() const { return picture_; }
    // Makes `picture` the background and shows it.
    void setPicture(const Canvas& picture);
    // The drawn image becomes the background picture (Picture = Image).
    void keepImageAsPicture();

    // Back to the background picture (or the back colour where there is none).
    void cls();
    // A line in scale units in the drawing colour (or `color`), the end point not drawn.
    void line(int x1, int y1, int x2, int y2);
    void line(int x1, int y1, int x2, int y2, Color color);

    // Resizes the image to the client area after a geometry change.
    void syncSize();

    std::function<void()> onPaint;
    // The host asks for a repaint (the surface was exposed).
    void raisePaint();

private:
    int toPixels(int units) const;

    ScaleMode scaleMode_ = ScaleMode::Twips;
    bool border_ = false;
    bool autoRedraw_ = false;
    bool onScreen_ = true;
    Canvas image_;
    std::optional<Canvas> picture_;
};

// Encodes the image as a BMP file; decodes one, error 481 when it is not a picture.
std::string pictureFileBytes(const Canvas& image);
Canvas pictureFromFileBytes(const std::string& bytes);

}  // namespace qm
