#include "app/tray_load.h"

#include <algorithm>
#include <string>

namespace qm {

namespace {

constexpr int kGlyphWidth = 3, kGlyphHeight = 5;
// Rows of three pixels, the top row first, the leftmost pixel the highest bit.
constexpr int kGlyphs[10][kGlyphHeight] = {
    {7, 5, 5, 5, 7}, {2, 6, 2, 2, 7}, {7, 1, 7, 4, 7}, {7, 1, 7, 1, 7}, {5, 5, 7, 1, 1},
    {7, 4, 7, 1, 7}, {7, 4, 7, 5, 7}, {7, 1, 2, 2, 2}, {7, 5, 7, 5, 7}, {7, 5, 7, 1, 7},
};

Color backgroundFor(int used) {
    if (used >= 90) return rgb(176, 32, 32);
    if (used >= 70) return rgb(168, 112, 0);
    return rgb(32, 96, 48);
}

// Digits of `count` glyphs with one-glyph-column gaps fill `size` at a whole scale.
int scaleFor(int count, int size) {
    const int width = count * kGlyphWidth + (count - 1);
    return std::max(1, std::min(size / width, size / kGlyphHeight));
}

void drawGlyph(Canvas& c, int digit, int left, int top, int k) {
    for (int row = 0; row < kGlyphHeight; ++row) {
        for (int col = 0; col < kGlyphWidth; ++col) {
            if (kGlyphs[digit][row] & (4 >> col)) {
                c.fillRect(left + col * k, top + row * k, left + (col + 1) * k, top + (row + 1) * k, kTrayDigitColor);
            }
        }
    }
}

// The glyph whose pixels the cell at (left, top) shows, or -1.
int glyphAt(const Canvas& c, int left, int top, int k) {
    for (int digit = 0; digit < 10; ++digit) {
        bool same = true;
        for (int row = 0; row < kGlyphHeight && same; ++row) {
            for (int col = 0; col < kGlyphWidth && same; ++col) {
                const bool lit = c.pixel(left + col * k + k / 2, top + row * k + k / 2) == kTrayDigitColor;
                same = lit == ((kGlyphs[digit][row] & (4 >> col)) != 0);
            }
        }
        if (same) return digit;
    }
    return -1;
}

}  // namespace

Canvas trayLoadPicture(int usedPercent, int size) {
    const int used = std::clamp(usedPercent, 0, 100);
    const std::string digits = std::to_string(used);
    const int count = static_cast<int>(digits.size());
    const int k = scaleFor(count, size);
    Canvas picture(size, size, backgroundFor(used));
    const int width = (count * kGlyphWidth + count - 1) * k;
    const int left = (size - width) / 2, top = (size - kGlyphHeight * k) / 2;
    for (int i = 0; i < count; ++i) drawGlyph(picture, digits[i] - '0', left + i * (kGlyphWidth + 1) * k, top, k);
    return picture;
}

std::string digitsOf(const Canvas& picture) {
    int left = picture.width(), right = -1, top = picture.height(), bottom = -1;
    for (int y = 0; y < picture.height(); ++y) {
        for (int x = 0; x < picture.width(); ++x) {
            if (picture.pixel(x, y) != kTrayDigitColor) continue;
            left = std::min(left, x), right = std::max(right, x), top = std::min(top, y), bottom = std::max(bottom, y);
        }
    }
    if (right < 0) return {};
    const int k = (bottom - top + 1) / kGlyphHeight;
    if (k < 1) return {};
    std::string digits;
    for (int x = left; x <= right; x += (kGlyphWidth + 1) * k) {
        const int digit = glyphAt(picture, x, top, k);
        if (digit < 0) return {};
        digits += static_cast<char>('0' + digit);
    }
    return digits;
}

void TrayLoad::availablePercent(int percent) {
    used_ = 100 - std::clamp(percent, 0, 100);
    if (on_ && used_ != drawn_) draw();
}

void TrayLoad::show(bool on) {
    on_ = on;
    if (!on) {
        if (drawn_ >= 0) host_.setTrayPictures(window_, {});  // only to undo a drawing: not at every start
        drawn_ = -1;
    } else if (used_ >= 0) {
        draw();
    }
}

void TrayLoad::draw() {
    std::vector<Canvas> pictures;
    for (int size : kTrayPictureSizes) pictures.push_back(trayLoadPicture(used_, size));
    host_.setTrayPictures(window_, std::move(pictures));
    drawn_ = used_;
}

}  // namespace qm
