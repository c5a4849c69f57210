#include "forms/canvas.h"

#include <algorithm>
#include <cstdlib>

namespace qm {

Canvas::Canvas(int width, int height, Color fill)
    : width_(std::max(width, 0)), height_(std::max(height, 0)),
      pixels_(static_cast<size_t>(width_) * static_cast<size_t>(height_), fill) {}

Color Canvas::pixel(int x, int y) const {
    if (x < 0 || y < 0 || x >= width_ || y >= height_) return 0;
    return pixels_[static_cast<size_t>(y) * width_ + x];
}

void Canvas::setPixel(int x, int y, Color c) {
    if (x < 0 || y < 0 || x >= width_ || y >= height_) return;
    pixels_[static_cast<size_t>(y) * width_ + x] = c;
}

void Canvas::fill(Color c) { std::fill(pixels_.begin(), pixels_.end(), c); }

// ---- lines ---------------------------------------------------------------------------

namespace {

// Half-open run of one line, [lo, hi), on one axis, already clamped to [0, limit).
struct Span {
    int64_t lo;
    int64_t hi;
};

// The pixels a GDI line covers on its own axis: the start included, the end excluded,
// so a line drawn backwards covers (to, from] instead of [from, to).
Span clampedRun(int64_t from, int64_t to, int limit) {
    Span s = from < to ? Span{from, to} : Span{to + 1, from + 1};
    return {std::max<int64_t>(s.lo, 0), std::min<int64_t>(s.hi, limit)};
}

// One axis of a slanted line: where it starts, how far it goes, the surface extent.
struct Axis {
    int64_t start;
    int64_t delta;
    int limit;
};

// The steps k (0 <= k < |delta|) whose major coordinate start + k*sign lies on the surface.
Span visibleSteps(const Axis& a) {
    const int64_t len = std::llabs(a.delta);
    if (a.delta > 0) return {std::max<int64_t>(0, -a.start), std::min<int64_t>(len, a.limit - a.start)};
    return {std::max<int64_t>(0, a.start - a.limit + 1), std::min<int64_t>(len, a.start + 1)};
}

// Bresenham as GDI runs it. On every major-axis step the minor coordinate is the exact one
// rounded to nearest, ties going to the smaller coordinate; that tie rule (GDI's octant bias)
// is what keeps the pixel set independent of the drawing direction. The exact offset is
// kept as quotient and remainder of k*across/along so clipping can start mid-line exactly.
struct Slant {
    Slant(int x1, int y1, int x2, int y2, int width, int height)
        : xMajor(std::llabs(int64_t{x2} - x1) > std::llabs(int64_t{y2} - y1)),
          major(xMajor ? Axis{x1, int64_t{x2} - x1, width} : Axis{y1, int64_t{y2} - y1, height}),
          minor(xMajor ? Axis{y1, int64_t{y2} - y1, height} : Axis{x1, int64_t{x2} - x1, width}),
          steps(visibleSteps(major)), along(std::llabs(major.delta)), across(std::llabs(minor.delta)),
          bias(minor.delta < 0 ? 1 : 0) {
        const uint64_t first = static_cast<uint64_t>(steps.lo) * across;  // both < 2^32
        q = first / along;
        r = first % along;
    }
    int64_t majorAt(int64_t k) const { return major.start + (major.delta > 0 ? k : -k); }
    int64_t minorNow() const {
        const auto offset = static_cast<int64_t>(q + (2 * r + bias > along));
        return minor.start + (minor.delta > 0 ? offset : -offset);
    }
    void advance() {
        r += across;  // across <= along, so at most one carry
        if (r >= along) {
            r -= along;
            ++q;
        }
    }

    bool xMajor;
    Axis major, minor;
    Span steps;
    uint64_t along, across, bias, q = 0, r = 0;
};

}  // namespace

void Canvas::horizontal(int y, int x1, int x2, Color c) {
    if (y < 0 || y >= height_) return;
    const Span s = clampedRun(x1, x2, width_);
    if (s.lo >= s.hi) return;
    auto row = pixels_.begin() + static_cast<ptrdiff_t>(y) * width_;
    std::fill(row + s.lo, row + s.hi, c);
}

void Canvas::vertical(int x, int y1, int y2, Color c) {
    if (x < 0 || x >= width_) return;
    const Span s = clampedRun(y1, y2, height_);
    uint32_t* p = pixels_.data() + x;
    for (int64_t y = s.lo; y < s.hi; ++y) p[y * width_] = c;
}

void Canvas::slanted(int x1, int y1, int x2, int y2, Color c) {
    Slant s(x1, y1, x2, y2, width_, height_);
    const int64_t majorStride = s.xMajor ? 1 : width_, minorStride = s.xMajor ? width_ : 1;
    for (int64_t k = s.steps.lo; k < s.steps.hi; ++k, s.advance()) {
        const int64_t m = s.minorNow();
        if (m >= 0 && m < s.minor.limit) pixels_[static_cast<size_t>(s.majorAt(k) * majorStride + m * minorStride)] = c;
    }
}

void Canvas::line(int x1, int y1, int x2, int y2, Color c) {
    if (y1 == y2) horizontal(y1, x1, x2, c);
    else if (x1 == x2) vertical(x1, y1, y2, c);
    else slanted(x1, y1, x2, y2, c);
}

// ---- rectangles and copies -----------------------------------------------------------

void Canvas::fillRect(int x1, int y1, int x2, int y2, Color c) {
    const int left = std::max(std::min(x1, x2), 0), right = std::min(std::max(x1, x2), width_);
    const int top = std::max(std::min(y1, y2), 0), bottom = std::min(std::max(y1, y2), height_);
    if (left >= right) return;
    for (int y = top; y < bottom; ++y) {
        auto row = pixels_.begin() + static_cast<ptrdiff_t>(y) * width_;
        std::fill(row + left, row + right, c);
    }
}

void Canvas::resize(int width, int height, Color fill) {
    Canvas bigger(width, height, fill);
    bigger.blit(*this, 0, 0);
    *this = std::move(bigger);
}

void Canvas::blit(const Canvas& src, int x, int y) {
    const int64_t left = std::max<int64_t>(x, 0), right = std::min<int64_t>(int64_t{x} + src.width_, width_);
    const int64_t top = std::max<int64_t>(y, 0), bottom = std::min<int64_t>(int64_t{y} + src.height_, height_);
    if (left >= right) return;
    for (int64_t row = top; row < bottom; ++row) {
        const uint32_t* from = src.pixels_.data() + (row - y) * src.width_ + (left - x);
        std::copy(from, from + (right - left), pixels_.data() + row * width_ + left);
    }
}

// ---- BMP -----------------------------------------------------------------------------

namespace {

constexpr size_t kFileHeader = 14;
constexpr size_t kInfoHeader = 40;
constexpr uint32_t kBiRgb = 0;
constexpr uint32_t kBiBitfields = 3;

void put16(std::vector<uint8_t>& out, size_t at, uint32_t v) {
    out[at] = static_cast<uint8_t>(v);
    out[at + 1] = static_cast<uint8_t>(v >> 8);
}

void put32(std::vector<uint8_t>& out, size_t at, uint32_t v) {
    put16(out, at, v & 0xFFFF);
    put16(out, at + 2, v >> 16);
}

// Callers check the length first.
uint32_t get16(const std::vector<uint8_t>& in, size_t at) { return in[at] | (uint32_t{in[at + 1]} << 8); }
uint32_t get32(const std::vector<uint8_t>& in, size_t at) { return get16(in, at) | (get16(in, at + 2) << 16); }

// Rows of a BMP are padded to whole 32-bit words.
uint64_t rowBytes(uint64_t width, uint32_t bitsPerPixel) { return (width * bitsPerPixel + 31) / 32 * 4; }

void writeHeaders(std::vector<uint8_t>& out, int width, int height, uint32_t imageSize) {
    out[0] = 'B';
    out[1] = 'M';
    put32(out, 2, static_cast<uint32_t>(out.size()));
    put32(out, 10, kFileHeader + kInfoHeader);
    put32(out, 14, kInfoHeader);
    put32(out, 18, static_cast<uint32_t>(width));
    put32(out, 22, static_cast<uint32_t>(height));  // positive: bottom row first
    put16(out, 26, 1);                              // planes
    put16(out, 28, 24);
    put32(out, 30, kBiRgb);
    put32(out, 34, imageSize);
    put32(out, 38, 3780);  // 96 dpi in pixels per metre
    put32(out, 42, 3780);
}

}  // namespace

std::vector<uint8_t> encodeBmp(const Canvas& canvas) {
    const int w = canvas.width(), h = canvas.height();
    const size_t stride = rowBytes(static_cast<uint64_t>(w), 24);
    std::vector<uint8_t> out(kFileHeader + kInfoHeader + stride * h, 0);
    writeHeaders(out, w, h, static_cast<uint32_t>(stride * h));
    for (int y = 0; y < h; ++y) {
        uint8_t* p = out.data() + kFileHeader + kInfoHeader + stride * (h - 1 - y);
        for (int x = 0; x < w; ++x, p += 3) {
            const Color c = canvas.pixel(x, y);
            p[0] = static_cast<uint8_t>(blueOf(c));
            p[1] = static_cast<uint8_t>(greenOf(c));
            p[2] = static_cast<uint8_t>(redOf(c));
        }
    }
    return out;
}

namespace {

// What decoding needs from the headers, once they are known to be sane.
struct BmpLayout {
    int width;
    int height;  // always positive here
    bool topDown;
    uint32_t bytesPerPixel;
    uint64_t pixelOffset;
    uint64_t stride;
};

// 32-bit files often say BI_BITFIELDS; only the plain 8-8-8 masks mean the same as BI_RGB.
bool plainEncoding(const std::vector<uint8_t>& in, uint32_t bpp, uint32_t compression) {
    if (compression == kBiRgb) return true;
    if (compression != kBiBitfields || bpp != 32 || in.size() < 66) return false;
    return get32(in, 54) == 0x00FF0000 && get32(in, 58) == 0x0000FF00 && get32(in, 62) == 0x000000FF;
}

std::optional<BmpLayout> readLayout(const std::vector<uint8_t>& in) {
    if (in.size() < kFileHeader + kInfoHeader || in[0] != 'B' || in[1] != 'M') return std::nullopt;
    const uint64_t infoSize = get32(in, 14), offset = get32(in, 10);
    const auto width = static_cast<int32_t>(get32(in, 18)), height = static_cast<int32_t>(get32(in, 22));
    const uint32_t bpp = get16(in, 28);
    if (infoSize < kInfoHeader || offset < kFileHeader + infoSize || get16(in, 26) != 1) return std::nullopt;
    if ((bpp != 24 && bpp != 32) || !plainEncoding(in, bpp, get32(in, 30))) return std::nullopt;
    if (width < 0 || width > kMaxBmpSide || height < -kMaxBmpSide || height > kMaxBmpSide) return std::nullopt;
    const BmpLayout layout{width, std::abs(height), height < 0, bpp / 8, offset, rowBytes(width, bpp)};
    if (offset + layout.stride * layout.height > in.size()) return std::nullopt;
    return layout;
}

}  // namespace

std::optional<Canvas> decodeBmp(const std::vector<uint8_t>& bytes) {
    const auto layout = readLayout(bytes);
    if (!layout) return std::nullopt;
    Canvas canvas(layout->width, layout->height);
    for (int row = 0; row < layout->height; ++row) {
        const int y = layout->topDown ? row : layout->height - 1 - row;
        const uint8_t* p = bytes.data() + layout->pixelOffset + layout->stride * row;
        for (int x = 0; x < layout->width; ++x, p += layout->bytesPerPixel) canvas.setPixel(x, y, rgb(p[2], p[1], p[0]));
    }
    return canvas;
}

namespace {

// Multiplying by an odd constant keeps every changed bit changed; the final mix spreads
// the upper bits back down, so that a change anywhere reaches every bit of the result.
constexpr uint64_t kOdd = 0x9E3779B97F4A7C15ull;
uint64_t absorb(uint64_t lane, uint64_t word) { return (lane ^ word) * kOdd; }
uint64_t spread(uint64_t h) {
    h ^= h >> 31;
    h *= 0xBF58476D1CE4E5B9ull;
    return h ^ (h >> 29);
}

}  // namespace

// Hosts fingerprint a graph on every change: two pixels a word, in four lanes that do not
// wait for each other.
uint64_t canvasFingerprint(const Canvas& canvas) {
    const std::vector<uint32_t>& pixels = canvas.pixels();
    const size_t pairs = pixels.size() / 2;
    uint64_t lanes[4] = {static_cast<uint64_t>(canvas.width()) + 1, static_cast<uint64_t>(canvas.height()) + 2, 3, 4};
    for (size_t i = 0; i < pairs; ++i) {
        const uint64_t word = pixels[2 * i] | static_cast<uint64_t>(pixels[2 * i + 1]) << 32;
        lanes[i % 4] = absorb(lanes[i % 4], word);
    }
    uint64_t hash = pixels.size() % 2 ? absorb(0, pixels.back()) : 0;
    for (uint64_t lane : lanes) hash = absorb(spread(hash) + 1, spread(lane));
    return spread(hash);
}

}  // namespace qm
