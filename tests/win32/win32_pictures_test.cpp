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

}  // namespace
}  // namespace qm::win32
