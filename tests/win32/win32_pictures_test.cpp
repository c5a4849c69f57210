// A picture repaints once a burst of drawing is over, and only when its pixels changed.
#include <gtest/gtest.h>
#include <windows.h>

#include "forms/form.h"
#include "forms/picture_box.h"
#include "ui/win32/form_window.h"
#include "ui/win32/win32_host.h"

namespace qm::win32 {
namespace {

// Every message but the paints, so what is left to paint can be looked at.
void handlePosted() {
    MSG msg;
    for (int i = 0; i < 50; ++i) {
        while (PeekMessageA(&msg, nullptr, 0, WM_PAINT - 1, PM_REMOVE)) DispatchMessageA(&msg);
        while (PeekMessageA(&msg, nullptr, WM_PAINT + 1, 0xFFFF, PM_REMOVE)) DispatchMessageA(&msg);
        Sleep(2);
    }
}

void paintAll() {
    MSG msg;
    for (int i = 0; i < 50; ++i) {
        while (PeekMessageA(&msg, nullptr, 0, 0, PM_REMOVE)) DispatchMessageA(&msg);
        Sleep(2);
    }
}

class Win32PicturesTest : public ::testing::Test {
protected:
    void SetUp() override {
        frm.move(0, 0, 3000, 2000);
        pic = &frm.add<PictureBox>("picGauge");
        pic->setScaleMode(ScaleMode::Pixels);
        pic->move(120, 120, 1500, 600);
        pic->onPaint = [this] { ++paintEvents; };
        host.attach(frm);
        frm.show();
        paintAll();
        hwnd = host.windowOf(frm)->viewOf(pic)->hwnd();
        paintEvents = 0;
    }
    bool paintPending() const { return GetUpdateRect(hwnd, nullptr, FALSE) != FALSE; }
    void drawGauge(Color used) {
        pic->setForeColor(rgb(0, 128, 0));
        pic->line(2, 0, 2, 20);
        pic->setForeColor(used);
        pic->line(6, 0, 6, 20);
    }

    Win32Host host;
    Form frm{"frmPictures"};
    PictureBox* pic = nullptr;
    HWND hwnd = nullptr;
    int paintEvents = 0;
};

TEST_F(Win32PicturesTest, DrawingThatChangesNoPixelPaintsNothing) {
    drawGauge(rgb(255, 0, 0));
    handlePosted();
    EXPECT_TRUE(paintPending()) << "new pixels";
    paintAll();
    EXPECT_FALSE(paintPending());

    drawGauge(rgb(255, 0, 0));
    handlePosted();
    EXPECT_FALSE(paintPending()) << "the same lines again; the pen colours alone are no change";
    pic->cls();
    drawGauge(rgb(255, 0, 0));
    handlePosted();
    EXPECT_FALSE(paintPending()) << "cleared and drawn the same within one burst";

    drawGauge(rgb(0, 0, 255));
    handlePosted();
    EXPECT_TRUE(paintPending());
    paintAll();
    EXPECT_EQ(paintEvents, 0) << "its own paints raise no Paint event";
}

TEST_F(Win32PicturesTest, AHiddenPictureIsPaintedWhenItShowsAgain) {
    frm.hide();
    paintAll();
    drawGauge(rgb(0, 0, 255));
    handlePosted();
    EXPECT_FALSE(paintPending()) << "nothing is invalidated while hidden";
    frm.show();
    paintAll();
    EXPECT_FALSE(paintPending());
    EXPECT_EQ(paintEvents, 1) << "shown again, the exposure raises Paint";
}

// Drawing into a surface that cannot be seen is skipped (its Paint handler draws it anew),
// whether the form, the picture itself or the frame it sits in is hidden.
TEST_F(Win32PicturesTest, DrawingIsSkippedWhileNothingShowsThePicture) {
    EXPECT_TRUE(pic->onScreen());
    Frame& page = frm.add<Frame>("fmPage");
    page.move(120, 900, 2000, 900);
    PictureBox& inner = frm.add<PictureBox>("picInner", &page);
    inner.move(60, 60, 600, 300);
    inner.onPaint = [] {};
    EXPECT_TRUE(inner.onScreen()) << "added to a shown form";

    frm.hide();
    paintAll();
    EXPECT_FALSE(pic->onScreen());
    EXPECT_FALSE(inner.onScreen());
    const Canvas before = pic->image();
    drawGauge(rgb(0, 0, 255));
    EXPECT_EQ(pic->image(), before) << "lost while the window is hidden";
    frm.show();
    paintAll();
    EXPECT_TRUE(pic->onScreen());
    EXPECT_TRUE(inner.onScreen());
    EXPECT_EQ(paintEvents, 1) << "shown again, Paint draws it anew";

    page.setVisible(false);
    EXPECT_FALSE(inner.onScreen()) << "its frame hidden";
    EXPECT_TRUE(pic->onScreen());
    page.setVisible(true);
    EXPECT_TRUE(inner.onScreen());
    pic->setVisible(false);
    EXPECT_FALSE(pic->onScreen());
    pic->setVisible(true);
    EXPECT_TRUE(pic->onScreen());
}

TEST(Win32Pictures, APictureOfAFormNotYetShownIsNotOnScreen) {
    Win32Host host;
    Form frm{"frmHidden"};
    PictureBox& pic = frm.add<PictureBox>("picGraph");
    pic.move(0, 0, 1500, 750);
    host.attach(frm);
    EXPECT_FALSE(pic.onScreen());
    frm.show();
    EXPECT_TRUE(pic.onScreen());
}

}  // namespace
}  // namespace qm::win32
