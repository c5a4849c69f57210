// The native renderer against real Win32 controls: model changes reach the controls,
// user actions reach the models only through their setters, and nothing echoes.
#include <gtest/gtest.h>
#include <windows.h>
#include <commctrl.h>

#include <future>
#include <memory>
#include <vector>

#include "app/tray_load.h"
#include "forms/form.h"
#include "forms/picture_box.h"
#include "ui/win32/form_window.h"
#include "ui/win32/picture_view.h"
#include "ui/win32/win32_host.h"

namespace qm::win32 {
namespace {

void pumpFor(int ms) {
    const DWORD end = GetTickCount() + static_cast<DWORD>(ms);
    do {
        MSG msg;
        while (PeekMessageA(&msg, nullptr, 0, 0, PM_REMOVE)) DispatchMessageA(&msg);
        Sleep(5);
    } while (GetTickCount() < end);
}

std::string textOf(HWND hwnd) {
    char text[256] = {};
    GetWindowTextA(hwnd, text, sizeof text);
    return text;
}

class Win32HostTest : public ::testing::Test {
protected:
    void SetUp() override {
        frm.setCaption("Test form");
        frm.move(0, 0, 6000, 4000);
        page = &frm.add<Frame>("fmPage");
        page->move(0, 300, 6000, 3000);
        list = &frm.add<ListBox>("lstItems", page);
        list->move(120, 120, 2000, 1500);
        for (const char* item : {"2 MB", "4 MB", "6 MB"}) list->addItem(item);
        box = &frm.add<CheckBox>("chkBox", page);
        box->setCaption("Box");
        box->move(2400, 120, 1500, 300);
        for (int i = 0; i < 2; ++i) {
            OptionButton& o = frm.add<OptionButton>("optChoice", page, i);
            o.setCaption(i == 0 ? "First" : "Second");
            o.move(2400, 600 + i * 300, 1500, 300);
        }
        timer = &frm.add<Timer>("tmrTick");
        timer->setInterval(30);
        timer->setEnabled(false);
        list->onClick = [this] { ++listClicks; };
        box->onClick = [this] { ++boxClicks; };
        host.attach(frm);
        window = host.windowOf(frm);
    }
    HWND hwndOf(Control& c) const { return window->viewOf(&c)->hwnd(); }
    // The control's rectangle in its page's client pixels.
    RECT placeOf(Control& c) const {
        RECT r;
        GetWindowRect(hwndOf(c), &r);
        MapWindowPoints(nullptr, hwndOf(*page), reinterpret_cast<POINT*>(&r), 2);
        return r;
    }
    OptionButton& option(int i) { return frm.element<OptionButton>("optChoice", i); }

    Win32Host host;
    Form frm{"frmTest"};
    Frame* page = nullptr;
    ListBox* list = nullptr;
    CheckBox* box = nullptr;
    Timer* timer = nullptr;
    FormWindow* window = nullptr;
    int listClicks = 0;
    int boxClicks = 0;
};

TEST_F(Win32HostTest, ModelChangesReachTheControlsWithoutEcho) {
    frm.show();
    HWND lst = hwndOf(*list);
    EXPECT_EQ(SendMessageA(lst, LB_GETCOUNT, 0, 0), 3);
    list->setListIndex(2);
    pumpFor(50);
    EXPECT_EQ(SendMessageA(lst, LB_GETCURSEL, 0, 0), 2);
    EXPECT_EQ(listClicks, 1) << "the model's own click only, no second one from the control";

    box->setValue(2);
    EXPECT_EQ(SendMessageA(hwndOf(*box), BM_GETCHECK, 0, 0), BST_INDETERMINATE);
    box->setCaption("Renamed");
    EXPECT_EQ(textOf(hwndOf(*box)), "Renamed");
    pumpFor(50);
    EXPECT_EQ(boxClicks, 1);

    const Scale s = systemScale();
    const RECT r = placeOf(*box);
    EXPECT_EQ(r.left, s.x(2400));
    EXPECT_EQ(r.right, s.x(2400 + 1500)) << "edges are converted, not the width";
}

TEST_F(Win32HostTest, NeighboursThatMeetInTwipsMeetOnScreen) {
    // At 96 dpi a width of 100 twips alone would round to 7 pixels and overlap by one.
    Label& first = frm.add<Label>("lblFirst", page);
    first.move(100, 2000, 100, 300);
    Label& second = frm.add<Label>("lblSecond", page);
    second.move(200, 2000, 100, 300);
    EXPECT_EQ(placeOf(first).right, placeOf(second).left);
    EXPECT_EQ(placeOf(second).right - placeOf(first).left, systemScale().x(300) - systemScale().x(100));
}

TEST_F(Win32HostTest, UserActionsGoThroughTheModels) {
    HWND lst = hwndOf(*list);
    SendMessageA(lst, LB_SETCURSEL, 1, 0);
    SendMessageA(GetParent(lst), WM_COMMAND, MAKEWPARAM(GetDlgCtrlID(lst), LBN_SELCHANGE), reinterpret_cast<LPARAM>(lst));
    EXPECT_EQ(list->listIndex(), 1);
    EXPECT_EQ(listClicks, 1);

    SendMessageA(hwndOf(*box), BM_CLICK, 0, 0);
    EXPECT_EQ(box->value(), 1);
    EXPECT_EQ(boxClicks, 1);
    box->setEnabled(false);
    SendMessageA(hwndOf(*box), BM_CLICK, 0, 0);
    EXPECT_EQ(box->value(), 1) << "a disabled box takes no click";

    option(0).setValue(true);
    SendMessageA(hwndOf(option(1)), BM_CLICK, 0, 0);
    EXPECT_TRUE(option(1).value());
    EXPECT_FALSE(option(0).value()) << "the model clears the group";
    EXPECT_EQ(SendMessageA(hwndOf(option(0)), BM_GETCHECK, 0, 0), BST_UNCHECKED);
}

// The work waits until the form's timer has ticked three times: it can end only if the
// window goes on answering while it runs. Its end comes back on the window's thread.
TEST_F(Win32HostTest, BackgroundWorkLetsTheWindowAnswerAndEndsOnItsThread) {
    std::promise<void> ticked;
    std::shared_future<void> gate = ticked.get_future().share();
    int ticks = 0;
    timer->onTimer = [&] {
        if (++ticks == 3) ticked.set_value();
    };
    timer->setEnabled(true);
    const DWORD window = GetCurrentThreadId();
    DWORD worker = 0, ended = 0;
    bool done = false;
    host.runInBackground([&] { worker = GetCurrentThreadId(), gate.wait(); },
                         [&] { ended = GetCurrentThreadId(), done = true; });
    const DWORD deadline = GetTickCount() + 5000;
    while (!done && GetTickCount() < deadline) host.waitForEvents();
    timer->setEnabled(false);
    ASSERT_TRUE(done);
    EXPECT_GE(ticks, 3);
    EXPECT_NE(worker, window);
    EXPECT_EQ(ended, window);
}

// The tray icon made from the core's picture shows the digits it was drawn with, read
// back from the icon's own colour bitmap, at every size a tray asks for.
// Moved to a screen of twice the DPI, every box is twice as large and the client area is the
// form's size at the new scale.
TEST_F(Win32HostTest, ADpiChangeLaysTheWindowOutAgainAtTheNewScale) {
    const RECT before = placeOf(*list);
    const int dpi = static_cast<int>(window->scale().dpiX);
    RECT suggested{10, 10, 800, 600};
    SendMessageA(window->hwnd(), WM_DPICHANGED, MAKEWPARAM(dpi * 2, dpi * 2), reinterpret_cast<LPARAM>(&suggested));
    const RECT after = placeOf(*list);
    EXPECT_NEAR(after.right - after.left, 2 * (before.right - before.left), 2);
    EXPECT_NEAR(after.top, 2 * before.top, 2);
    RECT client;
    GetClientRect(window->hwnd(), &client);
    EXPECT_NEAR(client.right, window->scale().x(frm.width()), 1);
    EXPECT_EQ(static_cast<int>(window->scale().dpiX), dpi * 2);
}

TEST(Win32TrayPicture, TheIconsPixelsAreTheCanvassOwn) {
    for (int size : {16, 22, 24, 32}) {
        HICON icon = iconOfCanvas(trayLoadPicture(57, size));
        ASSERT_NE(icon, nullptr) << size;
        ICONINFO info{};
        ASSERT_TRUE(GetIconInfo(icon, &info));
        BITMAPINFO bits{};
        bits.bmiHeader = {sizeof(BITMAPINFOHEADER), size, -size, 1, 32, BI_RGB, 0, 0, 0, 0, 0};
        std::vector<uint32_t> pixels(static_cast<size_t>(size * size));
        HDC dc = GetDC(nullptr);
        ASSERT_EQ(GetDIBits(dc, info.hbmColor, 0, size, pixels.data(), &bits, DIB_RGB_COLORS), size);
        ReleaseDC(nullptr, dc);
        Canvas back(size, size);
        for (int y = 0; y < size; ++y) {
            for (int x = 0; x < size; ++x) {
                const uint32_t p = pixels[static_cast<size_t>(y * size + x)];  // 0xAARRGGBB
                back.setPixel(x, y, rgb(p >> 16 & 0xFF, p >> 8 & 0xFF, p & 0xFF));
            }
        }
        EXPECT_EQ(digitsOf(back), "57") << size << " px";
        DeleteObject(info.hbmColor);
        DeleteObject(info.hbmMask);
        DestroyIcon(icon);
    }
}

// The shell's tray messages reach the window as mouse moves, the message number as x.
TEST_F(Win32HostTest, TheIconsClicksArriveAsTypedTrayEvents) {
    std::vector<TrayActivation> clicks;
    frm.onTrayActivated = [&](TrayEvent event) {
        EXPECT_EQ(event.tray, TrayKind::ClickThenDoubleClick);
        clicks.push_back(event.activation);
    };
    for (int x : {WM_MOUSEMOVE, WM_LBUTTONDOWN, WM_LBUTTONUP, WM_LBUTTONDBLCLK, WM_RBUTTONDOWN, WM_RBUTTONUP, 600}) {
        SendMessageA(window->hwnd(), WM_MOUSEMOVE, 0, MAKELPARAM(x, 0));
    }
    EXPECT_EQ(clicks, (std::vector<TrayActivation>{TrayActivation::Double, TrayActivation::Context}));
}

TEST_F(Win32HostTest, FramesCarryTheirChildrenAndTimersRunOnTheWindow) {
    frm.show();
    pumpFor(50);
    EXPECT_TRUE(IsWindowVisible(hwndOf(*list)));
    page->setVisible(false);
    EXPECT_FALSE(IsWindowVisible(hwndOf(*list))) << "hidden with its page";
    EXPECT_TRUE(list->visible());

    int ticks = 0;
    timer->onTimer = [&] { ++ticks; };
    timer->setEnabled(true);
    pumpFor(400);
    EXPECT_GE(ticks, 2);
    timer->setEnabled(false);
    const int stopped = ticks;
    pumpFor(150);
    EXPECT_EQ(ticks, stopped);
    frm.hide();
    EXPECT_FALSE(IsWindowVisible(window->hwnd()));
}

TEST_F(Win32HostTest, ATipChangesInPlaceAndGoesWithItsText) {
    auto tipOf = [&](Control& c) {
        char text[256] = {};
        TTTOOLINFOA tool{};
        tool.cbSize = sizeof tool;
        tool.hwnd = window->hwnd();
        tool.uId = reinterpret_cast<UINT_PTR>(hwndOf(c));
        tool.lpszText = text;
        SendMessageA(window->toolTips(), TTM_GETTEXTA, sizeof text, reinterpret_cast<LPARAM>(&tool));
        return std::string(text);
    };
    auto tools = [&] { return SendMessageA(window->toolTips(), TTM_GETTOOLCOUNT, 0, 0); };
    list->setToolTip("Last Value = 512 MB");
    box->setToolTip("Box tip");
    EXPECT_EQ(tools(), 2);
    list->setToolTip("Last Value = 511 MB");
    EXPECT_EQ(tools(), 2) << "one tool per control";
    EXPECT_EQ(tipOf(*list), "Last Value = 511 MB");
    EXPECT_EQ(tipOf(*box), "Box tip");
    list->setToolTip("");
    EXPECT_EQ(tools(), 1);
    list->setToolTip("Back");
    EXPECT_EQ(tipOf(*list), "Back");
}

// Hidden, nothing is invalidated: the form is painted whole when it shows.
TEST_F(Win32HostTest, AColourChangeRepaintsOnlyWhatShows) {
    auto pending = [&] { return GetUpdateRect(hwndOf(*box), nullptr, FALSE) != FALSE; };
    box->setBackColor(rgb(255, 255, 0));
    EXPECT_FALSE(pending()) << "the form is hidden";
    frm.show();
    pumpFor(50);
    EXPECT_FALSE(pending());
    box->setBackColor(rgb(0, 255, 255));
    EXPECT_TRUE(pending());
    pumpFor(50);
    box->setForeColor(rgb(255, 0, 0));
    EXPECT_TRUE(pending());
}

// Figures are set every tick, mostly to what they already show: that costs no repaint, and
// no move of the box.
TEST_F(Win32HostTest, ACaptionSetToWhatItShowsRepaintsNothing) {
    Label& label = frm.add<Label>("lblFigure", page);
    label.setCaption("45% Available");
    label.move(120, 1800, 2000, 255);
    frm.show();
    pumpFor(50);
    HWND area = hwndOf(*page);
    auto pending = [&] { return GetUpdateRect(area, nullptr, FALSE) != FALSE; };
    ASSERT_FALSE(pending());
    label.setCaption("45% Available");
    EXPECT_FALSE(pending()) << "the same text";
    label.setVisible(true);
    EXPECT_FALSE(pending()) << "already shown";
    label.setCaption("46% Available");
    EXPECT_TRUE(pending());
    EXPECT_EQ(textOf(hwndOf(label)), "46% Available");
}

// Behind a window in the tray figures change every tick unseen: its labels and its title
// show the last of them once it is shown, and follow at once while it is.
TEST_F(Win32HostTest, AHiddenWindowShowsItsLatestCaptionsWhenShown) {
    Label& label = frm.add<Label>("lblFigure", page);
    label.move(120, 1800, 2000, 255);
    label.setCaption("45% Available");
    frm.show();
    pumpFor(50);
    frm.hide();
    pumpFor(50);
    for (const char* figure : {"46% Available", "47% Available"}) label.setCaption(figure);
    frm.setCaption("Quillmere - 47%");
    frm.show();
    pumpFor(50);
    EXPECT_EQ(textOf(hwndOf(label)), "47% Available");
    EXPECT_EQ(textOf(window->hwnd()), "Quillmere - 47%");
    label.setCaption("48% Available");
    frm.setCaption("Quillmere - 48%");
    EXPECT_EQ(textOf(hwndOf(label)), "48% Available");
    EXPECT_EQ(textOf(window->hwnd()), "Quillmere - 48%");
}

// Controls overlap as on a classic form: the later declaration lies on top.
TEST_F(Win32HostTest, LaterDeclarationsLieOnTop) {
    std::vector<HWND> fromTop;
    for (HWND w = GetWindow(hwndOf(*page), GW_CHILD); w; w = GetWindow(w, GW_HWNDNEXT)) fromTop.push_back(w);
    const std::vector<HWND> declared{hwndOf(option(1)), hwndOf(option(0)), hwndOf(*box), hwndOf(*list)};
    EXPECT_EQ(fromTop, declared);
}

TEST_F(Win32HostTest, TrayMessagesAndTheCloseBoxReachTheForm) {
    double x = -1;
    frm.onMouseMove = [&](int, int, double atX, double) { x = atX; };
    SendMessageA(window->hwnd(), WM_MOUSEMOVE, 0, 517);
    EXPECT_DOUBLE_EQ(x / host.twipsPerPixelX(), 517) << "the low word of lParam is x in pixels";

    std::vector<int> modes;
    int cancel = 1;
    frm.onQueryUnload = [&](int& c, int mode) { modes.push_back(mode), c = cancel; };
    frm.show();
    SendMessageA(window->hwnd(), WM_CLOSE, 0, 0);
    EXPECT_TRUE(frm.visible()) << "cancelled";
    cancel = 0;
    SendMessageA(window->hwnd(), WM_CLOSE, 0, 0);
    EXPECT_FALSE(frm.visible());
    SendMessageA(window->hwnd(), WM_QUERYENDSESSION, 0, 0);
    SendMessageA(window->hwnd(), WM_ENDSESSION, TRUE, 0);
    EXPECT_EQ(modes, (std::vector<int>{0, 0, 2})) << "the session's end asks once, with mode 2";
}

TEST_F(Win32HostTest, MenuArraysRebuildTheSubmenu) {
    Menu& file = frm.add<Menu>("mnuFile");
    file.setCaption("&File");
    Menu& first = frm.add<Menu>("mnuP1", &file, 0);
    first.setCaption("One");
    int clicked = -1;
    first.onClick = [&] { clicked = 0; };
    HMENU sub = GetSubMenu(GetMenu(window->hwnd()), 0);
    ASSERT_NE(sub, nullptr);
    EXPECT_EQ(GetMenuItemCount(sub), 1);
    Menu& second = frm.loadMenuElement("mnuP1", 1);
    second.setCaption("Two");
    second.setVisible(true);
    sub = GetSubMenu(GetMenu(window->hwnd()), 0);
    ASSERT_EQ(GetMenuItemCount(sub), 2);
    char text[32] = {};
    GetMenuStringA(sub, 1, text, sizeof text, MF_BYPOSITION);
    EXPECT_STREQ(text, "Two");
    SendMessageA(window->hwnd(), WM_COMMAND, MAKEWPARAM(GetMenuItemID(sub, 0), 0), 0);
    EXPECT_EQ(clicked, 0);
    frm.unloadElement("mnuP1", 1);
    EXPECT_EQ(GetMenuItemCount(GetSubMenu(GetMenu(window->hwnd()), 0)), 1);
}

TEST_F(Win32HostTest, TheBusyPointerShowsOverItsControlAndADetachedFormLosesItsWindow) {
    HWND items = hwndOf(*list);
    auto pointerOverList = [&] {
        SendMessageA(items, WM_SETCURSOR, reinterpret_cast<WPARAM>(items), MAKELPARAM(HTCLIENT, WM_MOUSEMOVE));
        return GetCursor();
    };
    host.setBusyPointer(*list, true);
    EXPECT_EQ(pointerOverList(), LoadCursor(nullptr, IDC_WAIT));
    host.setBusyPointer(*list, false);
    EXPECT_NE(pointerOverList(), LoadCursor(nullptr, IDC_WAIT));

    auto editor = std::make_unique<Form>("frmLauncher");
    editor->add<ListBox>("lstPrograms").move(120, 120, 2000, 1500);
    host.attach(*editor);
    HWND editorWindow = host.hwndOf(*editor);
    ASSERT_TRUE(IsWindow(editorWindow));
    host.detach(*editor);
    EXPECT_FALSE(IsWindow(editorWindow));
    EXPECT_EQ(host.windowOf(*editor), nullptr);
    editor.reset();
}

// The canvas goes to the screen as it is, its 0x00BBGGRR pixels described by the masks.
TEST(Win32HostFormats, DialogFilterAndCanvasPixels) {
    EXPECT_EQ(dialogFilter("EXE Files (*.exe)|*.exe"), std::string("EXE Files (*.exe)\0*.exe\0\0", 25));
    Canvas c(2, 2);
    c.setPixel(0, 0, rgb(255, 0, 0));
    c.setPixel(1, 0, rgb(1, 2, 3));
    c.setPixel(0, 1, rgb(0, 0, 255));
    HDC screen = GetDC(nullptr);
    HDC dc = CreateCompatibleDC(screen);
    HBITMAP target = CreateCompatibleBitmap(screen, 4, 4);
    HGDIOBJ old = SelectObject(dc, target);
    paintCanvas(dc, RECT{0, 0, 4, 4}, c);
    EXPECT_EQ(GetPixel(dc, 0, 0), RGB(255, 0, 0));
    EXPECT_EQ(GetPixel(dc, 3, 1), RGB(1, 2, 3)) << "scaled to the rectangle";
    EXPECT_EQ(GetPixel(dc, 1, 3), RGB(0, 0, 255)) << "top row first";
    EXPECT_EQ(GetPixel(dc, 2, 2), RGB(0, 0, 0));
    SelectObject(dc, old);
    DeleteObject(target);
    DeleteDC(dc);
    ReleaseDC(nullptr, screen);
}

}  // namespace
}  // namespace qm::win32

namespace qm::win32 {
namespace {

// A repeated tip is not sent again; a new tip, a new add after a delete and a delete are.
TEST(TrayRecordMemoTest, LeavesOutOnlyModifiesThatRepeatTheLastRecord) {
    TrayRecordMemo memo;
    NotifyIconData data;
    data.uID = 1;
    data.tip = "Quillmere v1.0 - 512 MB";
    EXPECT_TRUE(memo.needed(NIM_ADD_, data));
    EXPECT_FALSE(memo.needed(NIM_MODIFY_, data));
    data.tip = "Quillmere v1.0 - 511 MB";
    EXPECT_TRUE(memo.needed(NIM_MODIFY_, data));
    EXPECT_FALSE(memo.needed(NIM_MODIFY_, data));
    data.icon = "other";
    EXPECT_TRUE(memo.needed(NIM_MODIFY_, data));
    EXPECT_TRUE(memo.needed(NIM_DELETE_, data));
    EXPECT_TRUE(memo.needed(NIM_MODIFY_, data));  // nothing shown: the shell answers for itself
    EXPECT_TRUE(memo.needed(NIM_ADD_, data));
}

}  // namespace
}  // namespace qm::win32
