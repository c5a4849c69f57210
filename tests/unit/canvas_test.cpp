#include "forms/canvas.h"

#include <gtest/gtest.h>

#include <climits>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <random>
#include <set>
#include <utility>

namespace qm {
namespace {

using Points = std::set<std::pair<int, int>>;

constexpr Color kInk = rgb(0, 255, 0);

Points inked(const Canvas& c, Color ink = kInk) {
    Points out;
    for (int y = 0; y < c.height(); ++y)
        for (int x = 0; x < c.width(); ++x)
            if (c.pixel(x, y) == ink) out.insert({x, y});
    return out;
}

Points drawn(int w, int h, int x1, int y1, int x2, int y2) {
    Canvas c(w, h);
    c.line(x1, y1, x2, y2, kInk);
    return inked(c);
}

int64_t floorDiv(int64_t a, int64_t b) { return a / b - ((a % b != 0) && ((a < 0) != (b < 0))); }

// Independent statement of the GDI rule: one pixel per step along the longer axis, from
// the start up to but excluding the end; across it the ideal line's coordinate rounded
// to nearest, halves going to the smaller coordinate.
Points gdiReference(int x1, int y1, int x2, int y2, int w, int h) {
    Points out;
    const int64_t dx = x2 - x1, dy = y2 - y1;
    const bool xMajor = std::llabs(dx) > std::llabs(dy);
    const int64_t len = std::max(std::llabs(dx), std::llabs(dy));
    for (int64_t k = 0; k < len; ++k) {
        const int64_t major = (xMajor ? x1 : y1) + k * ((xMajor ? dx : dy) > 0 ? 1 : -1);
        const int64_t num = xMajor ? (2 * y1 * dx + 2 * (major - x1) * dy - dx) : (2 * x1 * dy + 2 * (major - y1) * dx - dy);
        const int64_t den = 2 * (xMajor ? dx : dy);
        const int64_t minor = -floorDiv(-num, den);  // ceil(ideal - 1/2)
        const int64_t x = xMajor ? major : minor, y = xMajor ? minor : major;
        if (x >= 0 && y >= 0 && x < w && y < h) out.insert({static_cast<int>(x), static_cast<int>(y)});
    }
    return out;
}

TEST(CanvasLine, VerticalDownAndUpExcludeTheEndPoint) {
    EXPECT_EQ(drawn(10, 10, 5, 0, 5, 4), (Points{{5, 0}, {5, 1}, {5, 2}, {5, 3}}));
    EXPECT_EQ(drawn(10, 10, 5, 4, 5, 0), (Points{{5, 4}, {5, 3}, {5, 2}, {5, 1}}));
    // A gauge line from the bottom edge (one below the last row) up to y = 0 leaves row 0.
    Points gauge;
    for (int y = 1; y < 17; ++y) gauge.insert({3, y});
    EXPECT_EQ(drawn(233, 17, 3, 17, 3, 0), gauge);
}

TEST(CanvasLine, HorizontalBothWaysExcludeTheEndPoint) {
    EXPECT_EQ(drawn(10, 10, 0, 3, 5, 3), (Points{{0, 3}, {1, 3}, {2, 3}, {3, 3}, {4, 3}}));
    EXPECT_EQ(drawn(10, 10, 5, 3, 0, 3), (Points{{5, 3}, {4, 3}, {3, 3}, {2, 3}, {1, 3}}));
    // The graph grid runs to x = 365 on a 365-wide surface: the whole row, nothing more.
    EXPECT_EQ(drawn(365, 69, 0, 10, 365, 10).size(), 365u);
}

TEST(CanvasLine, ZeroLengthDrawsNothing) {
    EXPECT_TRUE(drawn(10, 10, 4, 4, 4, 4).empty());
}

TEST(CanvasLine, DiagonalsBreakTiesTowardsTheSmallerCoordinate) {
    EXPECT_EQ(drawn(10, 10, 0, 0, 4, 4), (Points{{0, 0}, {1, 1}, {2, 2}, {3, 3}}));
    EXPECT_EQ(drawn(10, 10, 4, 0, 0, 4), (Points{{4, 0}, {3, 1}, {2, 2}, {1, 3}}));
    EXPECT_EQ(drawn(10, 10, 0, 0, 4, 2), (Points{{0, 0}, {1, 0}, {2, 1}, {3, 1}}));
    EXPECT_EQ(drawn(10, 10, 4, 2, 0, 0), (Points{{4, 2}, {3, 1}, {2, 1}, {1, 0}}));
    EXPECT_EQ(drawn(10, 10, 0, 0, 2, 4), (Points{{0, 0}, {0, 1}, {1, 2}, {1, 3}}));
    EXPECT_EQ(drawn(10, 10, 2, 4, 0, 0), (Points{{2, 4}, {1, 3}, {1, 2}, {0, 1}}));
    // A steep graph segment one column wide still covers every row it spans, split at
    // the half-way row (which stays in the left column).
    Points steep;
    for (int y = 25; y <= 40; ++y) steep.insert({363, y});
    for (int y = 11; y <= 24; ++y) steep.insert({364, y});
    EXPECT_EQ(drawn(365, 69, 363, 40, 364, 10), steep);
}

TEST(CanvasLine, RandomLinesMatchTheGdiRuleAndDoNotDependOnDirection) {
    std::mt19937 rng(7);
    std::uniform_int_distribution<int> coord(0, 79);
    for (int i = 0; i < 2000; ++i) {
        const int x1 = coord(rng), y1 = coord(rng), x2 = coord(rng), y2 = coord(rng);
        const Points forward = drawn(80, 80, x1, y1, x2, y2);
        ASSERT_EQ(forward, gdiReference(x1, y1, x2, y2, 80, 80)) << x1 << ',' << y1 << " -> " << x2 << ',' << y2;
        ASSERT_EQ(forward.size(), static_cast<size_t>(std::max(std::abs(x2 - x1), std::abs(y2 - y1))));
        Points withEnd = forward, reverse = drawn(80, 80, x2, y2, x1, y1);
        withEnd.insert({x2, y2});
        reverse.insert({x1, y1});
        if (x1 != x2 || y1 != y2) {
            ASSERT_EQ(withEnd, reverse);
        }
    }
}

TEST(CanvasLine, ClippingKeepsExactlyTheVisiblePixels) {
    std::mt19937 rng(11);
    std::uniform_int_distribution<int> coord(-300, 340);
    for (int i = 0; i < 3000; ++i) {
        const int x1 = coord(rng), y1 = coord(rng), x2 = coord(rng), y2 = coord(rng);
        ASSERT_EQ(drawn(41, 29, x1, y1, x2, y2), gdiReference(x1, y1, x2, y2, 41, 29))
            << x1 << ',' << y1 << " -> " << x2 << ',' << y2;
    }
}

TEST(CanvasLine, ExtremeCoordinatesAreClippedSafely) {
    Points diagonal;
    for (int i = 0; i < 20; ++i) diagonal.insert({i, i});
    EXPECT_EQ(drawn(20, 20, INT_MIN, INT_MIN, INT_MAX, INT_MAX), diagonal);
    EXPECT_EQ(drawn(20, 20, INT_MAX, INT_MAX, INT_MIN, INT_MIN), diagonal);
    EXPECT_EQ(drawn(20, 20, INT_MIN, 5, INT_MAX, 5).size(), 20u);
    EXPECT_EQ(drawn(20, 20, 7, INT_MAX, 7, INT_MIN).size(), 20u);
    // Just past the halfway point of this shallow line its ideal y exceeds 0.5.
    Points row1;
    for (int x = 0; x < 20; ++x) row1.insert({x, 1});
    EXPECT_EQ(drawn(20, 20, INT_MIN, 0, INT_MAX, 1), row1);
    EXPECT_TRUE(drawn(20, 20, -50, -1, 70, -1).empty());
    EXPECT_TRUE(drawn(20, 20, -10, 5, 5, -10).empty());  // passes beyond the corner
    EXPECT_TRUE(drawn(0, 0, 0, 0, 5, 5).empty());
}

TEST(CanvasSurface, PixelAccessIsClipped) {
    Canvas c(3, 2, rgb(1, 2, 3));
    c.setPixel(-1, 0, kInk);
    c.setPixel(3, 1, kInk);
    c.setPixel(0, 2, kInk);
    EXPECT_EQ(c, Canvas(3, 2, rgb(1, 2, 3)));
    c.setPixel(2, 1, kInk);
    EXPECT_EQ(c.pixel(2, 1), kInk);
    EXPECT_EQ(c.pixels()[5], kInk);  // row-major, top row first
    EXPECT_EQ(c.pixel(-1, 0), 0u);
    EXPECT_EQ(c.pixel(0, 2), 0u);
    EXPECT_EQ(rgb(0x12, 0x34, 0x56), 0x00563412u);
}

TEST(CanvasSurface, FillRectIsInclusiveExclusiveAndClipped) {
    Canvas c(6, 5);
    c.fillRect(1, 1, 3, 4, kInk);
    EXPECT_EQ(inked(c), (Points{{1, 1}, {2, 1}, {1, 2}, {2, 2}, {1, 3}, {2, 3}}));
    Canvas swapped(6, 5);
    swapped.fillRect(3, 4, 1, 1, kInk);
    EXPECT_EQ(swapped, c);
    Canvas edge(6, 5);
    edge.fillRect(-10, 3, 100, 100, kInk);
    EXPECT_EQ(inked(edge).size(), 12u);
    Canvas empty(6, 5);
    empty.fillRect(2, 2, 2, 5, kInk);
    empty.fillRect(7, 0, 9, 5, kInk);
    EXPECT_TRUE(inked(empty).empty());
    empty.fill(kInk);
    EXPECT_EQ(inked(empty).size(), 30u);
}

TEST(CanvasSurface, ResizeKeepsTheOverlap) {
    Canvas c(3, 2);
    c.setPixel(0, 0, rgb(1, 0, 0));
    c.setPixel(2, 1, rgb(2, 0, 0));
    c.resize(4, 3, kInk);
    EXPECT_EQ(c.pixel(0, 0), rgb(1, 0, 0));
    EXPECT_EQ(c.pixel(2, 1), rgb(2, 0, 0));
    EXPECT_EQ(c.pixel(1, 0), 0u);
    EXPECT_EQ(inked(c).size(), 12u - 6u);
    c.resize(1, 1, 0);
    EXPECT_EQ(c, Canvas(1, 1, rgb(1, 0, 0)));
    c.resize(-4, 2, 0);
    EXPECT_EQ(c.width(), 0);
    EXPECT_TRUE(c.pixels().empty());
}

TEST(CanvasSurface, BlitCopiesTheClippedSource) {
    Canvas src(3, 2);
    for (int i = 0; i < 6; ++i) src.setPixel(i % 3, i / 3, rgb(i + 1, 0, 0));
    Canvas whole(5, 4, kInk);
    whole.blit(src, 1, 2);
    EXPECT_EQ(whole.pixel(1, 2), rgb(1, 0, 0));
    EXPECT_EQ(whole.pixel(3, 3), rgb(6, 0, 0));
    EXPECT_EQ(inked(whole).size(), 20u - 6u);
    Canvas corner(2, 2, kInk);
    corner.blit(src, -2, -1);  // only src (2,1) lands, at (0,0)
    EXPECT_EQ(corner.pixel(0, 0), rgb(6, 0, 0));
    EXPECT_EQ(inked(corner).size(), 3u);
    corner.blit(src, 2, 0);
    corner.blit(src, -3, 0);
    corner.blit(src, INT_MAX, INT_MIN);
    EXPECT_EQ(inked(corner).size(), 3u);
}

// ---- BMP ------------------------------------------------------------------------------

uint32_t le32(const std::vector<uint8_t>& b, size_t at) {
    return b[at] | (b[at + 1] << 8) | (b[at + 2] << 16) | (uint32_t{b[at + 3]} << 24);
}

void setLe(std::vector<uint8_t>& b, size_t at, uint32_t v, int bytes) {
    for (int i = 0; i < bytes; ++i) b[at + i] = static_cast<uint8_t>(v >> (8 * i));
}

// A hand-built file: 2x2 pixels red, green / blue, white (top row first), stored in the
// requested depth and row order.
std::vector<uint8_t> handMade(int bpp, bool topDown, uint32_t compression = 0) {
    const int stride = 8;  // two pixels: 6 bytes padded to 8, or exactly 8
    const size_t offset = compression == 3 ? 66 : 54;
    std::vector<uint8_t> b(offset + 2 * stride, 0);
    b[0] = 'B', b[1] = 'M';
    setLe(b, 2, static_cast<uint32_t>(b.size()), 4);
    setLe(b, 10, static_cast<uint32_t>(offset), 4);
    setLe(b, 14, 40, 4);
    setLe(b, 18, 2, 4);
    setLe(b, 22, static_cast<uint32_t>(topDown ? -2 : 2), 4);
    setLe(b, 26, 1, 2);
    setLe(b, 28, static_cast<uint32_t>(bpp), 2);
    setLe(b, 30, compression, 4);
    if (compression == 3) {
        setLe(b, 54, 0x00FF0000, 4);
        setLe(b, 58, 0x0000FF00, 4);
        setLe(b, 62, 0x000000FF, 4);
    }
    const uint8_t bgr[2][2][3] = {{{0, 0, 255}, {0, 255, 0}}, {{255, 0, 0}, {255, 255, 255}}};
    for (int row = 0; row < 2; ++row)
        for (int x = 0; x < 2; ++x)
            for (int ch = 0; ch < 3; ++ch)
                b[offset + stride * (topDown ? row : 1 - row) + x * (bpp / 8) + ch] = bgr[row][x][ch];
    return b;
}

Canvas handMadeExpected() {
    Canvas c(2, 2);
    c.setPixel(0, 0, rgb(255, 0, 0));
    c.setPixel(1, 0, rgb(0, 255, 0));
    c.setPixel(0, 1, rgb(0, 0, 255));
    c.setPixel(1, 1, rgb(255, 255, 255));
    return c;
}

Canvas randomCanvas(int w, int h, std::mt19937& rng) {
    Canvas c(w, h);
    std::uniform_int_distribution<uint32_t> colour(0, 0xFFFFFF);
    for (int y = 0; y < h; ++y)
        for (int x = 0; x < w; ++x) c.setPixel(x, y, colour(rng));
    return c;
}

TEST(CanvasBmp, RoundTripsEveryColourAtOddWidths) {
    std::mt19937 rng(3);
    for (int w : {1, 2, 3, 5, 7, 365}) {
        for (int h : {1, 4, 69}) {
            const Canvas c = randomCanvas(w, h, rng);
            const auto decoded = decodeBmp(encodeBmp(c));
            ASSERT_TRUE(decoded.has_value()) << w << 'x' << h;
            EXPECT_EQ(*decoded, c) << w << 'x' << h;
        }
    }
}

TEST(CanvasBmp, HeaderDescribesA24BitBottomUpFile) {
    Canvas c(5, 3);
    c.setPixel(0, 0, rgb(0x11, 0x22, 0x33));  // top-left lands in the last stored row
    c.setPixel(4, 2, rgb(0x44, 0x55, 0x66));  // bottom-right ends the first stored row
    const auto b = encodeBmp(c);
    const size_t stride = 16;  // 5 * 3 = 15, padded
    ASSERT_EQ(b.size(), 54 + 3 * stride);
    EXPECT_EQ(b[0], 'B');
    EXPECT_EQ(b[1], 'M');
    EXPECT_EQ(le32(b, 2), b.size());
    EXPECT_EQ(le32(b, 10), 54u);
    EXPECT_EQ(le32(b, 14), 40u);
    EXPECT_EQ(static_cast<int32_t>(le32(b, 18)), 5);
    EXPECT_EQ(static_cast<int32_t>(le32(b, 22)), 3);
    EXPECT_EQ(le32(b, 26) & 0xFFFF, 1u);
    EXPECT_EQ(le32(b, 26) >> 16, 24u);
    EXPECT_EQ(le32(b, 30), 0u);
    EXPECT_EQ(le32(b, 34), 3 * stride);
    EXPECT_EQ((std::vector<uint8_t>(b.begin() + 54 + 12, b.begin() + 54 + 16)), (std::vector<uint8_t>{0x66, 0x55, 0x44, 0}));
    EXPECT_EQ((std::vector<uint8_t>(b.begin() + 54 + 32, b.begin() + 54 + 35)), (std::vector<uint8_t>{0x33, 0x22, 0x11}));
}

TEST(CanvasBmp, DecodesHandMadeFilesOfBothDepthsAndRowOrders) {
    for (int bpp : {24, 32})
        for (bool topDown : {false, true}) {
            const auto decoded = decodeBmp(handMade(bpp, topDown));
            ASSERT_TRUE(decoded.has_value()) << bpp << ' ' << topDown;
            EXPECT_EQ(*decoded, handMadeExpected()) << bpp << ' ' << topDown;
        }
    const auto masked = decodeBmp(handMade(32, false, 3));
    ASSERT_TRUE(masked.has_value());
    EXPECT_EQ(*masked, handMadeExpected());
}

TEST(CanvasBmp, SurvivesAFileOnDisk) {
    const auto dir = std::filesystem::temp_directory_path() / ("canvas_test_" + std::to_string(std::random_device{}()));
    std::filesystem::create_directories(dir);
    std::mt19937 rng(5);
    const Canvas c = randomCanvas(13, 7, rng);
    const auto bytes = encodeBmp(c);
    std::ofstream(dir / "x.bmp", std::ios::binary).write(reinterpret_cast<const char*>(bytes.data()), bytes.size());
    std::ifstream in(dir / "x.bmp", std::ios::binary);
    const std::vector<uint8_t> back{std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
    in.close();
    std::filesystem::remove_all(dir);
    const auto decoded = decodeBmp(back);
    ASSERT_TRUE(decoded.has_value());
    EXPECT_EQ(*decoded, c);
}

TEST(CanvasBmp, RejectsBrokenFiles) {
    const auto good = encodeBmp(Canvas(3, 2, kInk));
    for (size_t len = 0; len < good.size(); ++len)
        EXPECT_FALSE(decodeBmp(std::vector<uint8_t>(good.begin(), good.begin() + len))) << len;
    auto patched = [&](size_t at, uint32_t v, int bytes, const std::vector<uint8_t>& base) {
        auto b = base;
        setLe(b, at, v, bytes);
        return decodeBmp(b);
    };
    EXPECT_FALSE(patched(0, 'B' | ('A' << 8), 2, good));
    EXPECT_FALSE(patched(18, static_cast<uint32_t>(-3), 4, good));      // negative width
    EXPECT_FALSE(patched(18, 16385, 4, good));                           // absurd width
    EXPECT_FALSE(patched(22, 16385, 4, good));                           // absurd height
    EXPECT_FALSE(patched(22, static_cast<uint32_t>(-16385), 4, good));
    EXPECT_FALSE(patched(22, 0x80000000u, 4, good));                     // most negative height
    EXPECT_FALSE(patched(22, 3, 4, good));                               // more rows than stored
    EXPECT_FALSE(patched(28, 8, 2, good));                               // palette
    EXPECT_FALSE(patched(28, 16, 2, good));
    EXPECT_FALSE(patched(30, 1, 4, good));                               // RLE
    EXPECT_FALSE(patched(30, 3, 4, good));                               // masks on 24 bits
    EXPECT_FALSE(patched(26, 0, 2, good));                               // planes
    EXPECT_FALSE(patched(14, 12, 4, good));                              // old core header
    EXPECT_FALSE(patched(10, 0xFFFFFFF0u, 4, good));                     // pixels past the end
    EXPECT_FALSE(patched(58, 0x00FF0000, 4, handMade(32, false, 3)));    // unusual masks
    EXPECT_TRUE(patched(2, 0, 4, good));  // a wrong size field alone is harmless
}

TEST(CanvasFingerprint, FollowsThePixelsAndTheSize) {
    Canvas c(4, 4);
    c.setPixel(1, 1, rgb(0, 0, 0));
    const uint64_t before = canvasFingerprint(c);
    c.setPixel(1, 1, rgb(0, 0, 0));
    EXPECT_EQ(canvasFingerprint(c), before) << "drawn again as it was";
    c.setPixel(1, 1, rgb(0, 0, 1));
    EXPECT_NE(canvasFingerprint(c), before);
    EXPECT_NE(canvasFingerprint(Canvas(4, 1)), canvasFingerprint(Canvas(2, 2))) << "same pixels, other size";
}

// An odd count leaves a last pixel outside the pairs; every pixel, every channel bit and
// every order must still count.
TEST(CanvasFingerprint, SeesAnyOnePixelChangeAndPixelsTradingPlaces) {
    Canvas c(9, 3, rgb(10, 20, 30));
    for (int y = 0; y < 3; ++y) {
        for (int x = 0; x < 9; ++x) c.setPixel(x, y, rgb(x * 20, y * 40, x + y));
    }
    const uint64_t before = canvasFingerprint(c);
    std::set<uint64_t> seen{before};
    for (int y = 0; y < 3; ++y) {
        for (int x = 0; x < 9; ++x) {
            const Color kept = c.pixel(x, y);
            for (int bit : {0, 7, 15, 23}) {
                c.setPixel(x, y, kept ^ (1u << bit));
                EXPECT_TRUE(seen.insert(canvasFingerprint(c)).second) << x << "," << y << " bit " << bit;
            }
            c.setPixel(x, y, kept);
        }
    }
    EXPECT_EQ(canvasFingerprint(c), before);
    const Color first = c.pixel(0, 0), last = c.pixel(8, 2);
    c.setPixel(0, 0, last);
    c.setPixel(8, 2, first);
    EXPECT_NE(canvasFingerprint(c), before) << "first and last pixel swapped";
    c.setPixel(0, 0, first);
    c.setPixel(8, 2, last);
    const Color second = c.pixel(1, 0);
    c.setPixel(1, 0, first);
    c.setPixel(0, 0, second);
    EXPECT_NE(canvasFingerprint(c), before) << "the two pixels of one word swapped";
}

}  // namespace
}  // namespace qm
