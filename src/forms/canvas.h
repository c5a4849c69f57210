#pragma once
// Pixel surface behind every picture box, and its BMP file format.
// The core draws graphs and gauges here pixel for pixel; hosts only blit the result.

#include <cstdint>
#include <optional>
#include <vector>

namespace qm {

// 0x00BBGGRR, the layout RGB() builds, so colours compare equal across hosts.
using Color = uint32_t;

constexpr Color rgb(int r, int g, int b) {
    return static_cast<Color>(r & 0xFF) | (static_cast<Color>(g & 0xFF) << 8) |
           (static_cast<Color>(b & 0xFF) << 16);
}
constexpr int redOf(Color c) { return static_cast<int>(c & 0xFF); }
constexpr int greenOf(Color c) { return static_cast<int>((c >> 8) & 0xFF); }
constexpr int blueOf(Color c) { return static_cast<int>((c >> 16) & 0xFF); }

class Canvas {
public:
    Canvas() = default;
    Canvas(int width, int height, Color fill = 0);

    int width() const { return width_; }
    int height() const { return height_; }

    Color pixel(int x, int y) const;        // 0 outside
    void setPixel(int x, int y, Color c);   // clipped

    // GDI LineTo rules: starts at (x1,y1), stops before (x2,y2); one pixel wide; clipped.
    // Diagonals follow GDI's Bresenham, whose tie-breaking makes a line cover the same
    // pixels whichever way it is drawn (apart from the excluded end).
    void line(int x1, int y1, int x2, int y2, Color c);

    // Covers [min(x1,x2), max(x1,x2)) x [min(y1,y2), max(y1,y2)), clipped.
    void fillRect(int x1, int y1, int x2, int y2, Color c);
    void fill(Color c);
    void resize(int width, int height, Color fill);  // keeps the overlapping pixels
    void blit(const Canvas& src, int x, int y);      // copy src onto this at (x,y), clipped

    const std::vector<uint32_t>& pixels() const { return pixels_; }  // row-major, top row first
    bool operator==(const Canvas& other) const = default;

private:
    void horizontal(int y, int x1, int x2, Color c);
    void vertical(int x, int y1, int y2, Color c);
    void slanted(int x1, int y1, int x2, int y2, Color c);

    int width_ = 0;
    int height_ = 0;
    std::vector<uint32_t> pixels_;
};

// Largest width or height either BMP direction accepts.
inline constexpr int kMaxBmpSide = 16384;

// A fingerprint of a canvas's size and pixels (two pixels a word, hashed in four lanes):
// hosts repaint only when it changes.
uint64_t canvasFingerprint(const Canvas& canvas);
// 24-bit uncompressed bottom-up BMP, rows padded to 4 bytes; lossless for every colour.
std::vector<uint8_t> encodeBmp(const Canvas& canvas);
// 24- or 32-bit uncompressed BMP, bottom-up or top-down; nullopt on anything else or broken.
std::optional<Canvas> decodeBmp(const std::vector<uint8_t>& bytes);

}  // namespace qm
