// The memory load drawn into the tray icon: digits read back from the pixels at every
// size, crisp, and redrawn only when the whole percent changes.
#include "app/tray_load.h"

#include <gtest/gtest.h>

#include "support/test_app.h"

namespace qm::test {
namespace {

TEST(TrayLoadPicture, EverySizeShowsThePercentInPixelsOfTwoColoursOnly) {
    for (int size : kTrayPictureSizes) {
        for (int used : {0, 7, 42, 69, 70, 89, 99, 100}) {
            const Canvas picture = trayLoadPicture(used, size);
            ASSERT_EQ(picture.width(), size);
            EXPECT_EQ(digitsOf(picture), std::to_string(used)) << size << " px, " << used << "%";
            const Color background = picture.pixel(0, 0);
            for (uint32_t pixel : picture.pixels()) {
                ASSERT_TRUE(pixel == background || pixel == kTrayDigitColor) << size << " px: no blended pixel";
            }
        }
    }
    EXPECT_NE(trayLoadPicture(95, 16).pixel(0, 0), trayLoadPicture(40, 16).pixel(0, 0)) << "a full memory looks it";
    EXPECT_EQ(digitsOf(trayLoadPicture(150, 16)), "100");
    EXPECT_EQ(digitsOf(Canvas(16, 16, 0)), "");
}

TEST(TrayLoadIcon, TheViewOptionShowsTheUsedShareAndRedrawsOnlyOnAChange) {
    TestApp app;
    app.load();
    app.host.advance(1000);
    EXPECT_TRUE(app.host.trayPictures.empty()) << "the classic icon by default";
    app.get<Menu>("mnuViewTrayLoad").userClick();
    ASSERT_EQ(app.host.trayPictures.size(), std::size(kTrayPictureSizes));
    const int used = 100 - app.window->subsystems().gauges.lastPhysPercent();
    EXPECT_EQ(digitsOf(app.host.trayPictures[0]), std::to_string(used));
    EXPECT_NE(app.settingsText().find("TrayLoad=1"), std::string::npos);

    app.host.trayPictures.clear();
    app.host.advance(3000);
    EXPECT_TRUE(app.host.trayPictures.empty()) << "the same whole percent is not drawn again";
    app.fakes.memory.current.availPhys /= 2;
    app.host.advance(1000);
    ASSERT_FALSE(app.host.trayPictures.empty());
    EXPECT_EQ(digitsOf(app.host.trayPictures[3]), std::to_string(100 - app.window->subsystems().gauges.lastPhysPercent()));

    app.get<Menu>("mnuViewTrayLoad").userClick();
    EXPECT_TRUE(app.host.trayPictures.empty()) << "off: the classic icon again";
}

}  // namespace
}  // namespace qm::test
