// Every caption of every form, measured on the native controls with the font each one
// really has at the screen's DPI (the suite runs again on a screen of 144 dpi), and the
// names a screen reader reads for the controls that have no caption of their own.
#include <gtest/gtest.h>
#include <windows.h>

#include <cstdlib>
#include <string>

#include "app/main_layout.h"
#include "base/language.h"
#include "forms/accessible_name.h"
#include "platform/win32/ansi_text.h"
#include "win32/native_forms.h"

namespace qm::win32 {
namespace {

std::string windowText(HWND hwnd) {
    char text[512] = {};
    GetWindowTextA(hwnd, text, sizeof text);
    return text;
}

int screenDpi() {
    HDC screen = GetDC(nullptr);
    const int dpi = GetDeviceCaps(screen, LOGPIXELSY);
    ReleaseDC(nullptr, screen);
    return dpi;
}

// A window's text as drawn with the window's own font: one line, or wrapped at `wrapAt`
// pixels (DrawText gives a wider box when one word is wider than that).
SIZE drawnSize(HWND hwnd, int wrapAt = 0) {
    const std::string text = withoutAccessKeys(windowText(hwnd));
    HDC dc = GetDC(hwnd);
    HGDIOBJ old = SelectObject(dc, reinterpret_cast<HFONT>(SendMessageA(hwnd, WM_GETFONT, 0, 0)));
    RECT r{0, 0, wrapAt, 0};
    const UINT wrap = wrapAt > 0 ? DT_WORDBREAK : DT_SINGLELINE;
    DrawTextA(dc, text.c_str(), -1, &r, DT_CALCRECT | DT_NOPREFIX | DT_EXPANDTABS | wrap);
    SelectObject(dc, old);
    ReleaseDC(hwnd, dc);
    return {r.right - r.left, r.bottom - r.top};
}

// What a control's caption needs beside its text, in pixels: the box or circle of a check
// or option button and the gap after it, or a push button's raised border.
int besideText(ControlKind kind, int dpi) {
    switch (kind) {
        case ControlKind::CheckBox:
        case ControlKind::OptionButton: return GetSystemMetrics(SM_CXMENUCHECK) + MulDiv(4, dpi, 96);
        case ControlKind::CommandButton: return MulDiv(8, dpi, 96);
        default: return 0;
    }
}

// The window that shows the control's caption: a frame shows it on its group box.
HWND captionWindow(const Control& c, HWND hwnd) {
    return c.kind() == ControlKind::Frame ? FindWindowExA(hwnd, nullptr, "BUTTON", nullptr) : hwnd;
}

bool showsCaption(const Control& c) {
    switch (c.kind()) {
        case ControlKind::Label:
        case ControlKind::CommandButton:
        case ControlKind::CheckBox:
        case ControlKind::OptionButton:
        case ControlKind::Frame: return !c.caption().empty();
        default: return false;
    }
}

std::string controlName(const Control& c) {
    return c.index() < 0 ? c.name() : c.name() + "(" + std::to_string(c.index()) + ")";
}

class Win32Captions : public ::testing::Test {
protected:
    void SetUp() override {
        const char* asked = std::getenv("QM_EXPECT_DPI");
        ASSERT_EQ(dpi, asked ? std::atoi(asked) : 96) << "the screen does not have the DPI asked for";
    }
    HWND hwndOf(Form& frm, const Control& c) const { return win32::hwndOf(host, frm, c); }
    // Fails once for every control of the shown form whose caption is cut off.
    void expectEveryCaptionFits(Form& frm) {
        int measured = 0;
        for (Control* c : frm.controls()) {
            HWND hwnd = showsCaption(*c) ? captionWindow(*c, hwndOf(frm, *c)) : nullptr;
            if (!hwnd) continue;
            ++measured;
            RECT client;
            GetClientRect(hwnd, &client);
            const bool wraps = c->kind() == ControlKind::Label;
            SIZE needs = drawnSize(hwnd, wraps ? client.right : 0);
            needs.cx += besideText(c->kind(), dpi);
            const bool fits = needs.cx <= client.right && (c->kind() == ControlKind::Frame || needs.cy <= client.bottom);
            EXPECT_TRUE(fits) << frm.name() << "." << controlName(*c) << " \"" << c->shownCaption() << "\" needs "
                              << needs.cx << "x" << needs.cy << " px, has " << client.right << "x" << client.bottom;
        }
        EXPECT_GT(measured, 0);
    }

    // Every form, and the main window again with the pause button's second caption.
    void expectProgramFormsFit() {
        NativeForms forms(host);
        for (Form* form : forms.all()) expectEveryCaptionFits(*form);
        forms.main.form().get<CommandButton>("cmdPause").setCaption(kResumeCaption);
        expectEveryCaptionFits(forms.main.form());
    }

    const int dpi = screenDpi();
    Win32Host host;
};

TEST_F(Win32Captions, EveryCaptionOfEveryFormFits) { expectProgramFormsFit(); }

// Every translation, in the ANSI code page the program's text functions write.
TEST_F(Win32Captions, EveryCaptionFitsInEveryLanguage) {
    for (const BuiltInLanguage& language : builtInLanguages()) {
        SCOPED_TRACE(language.code);
        ASSERT_EQ(installLanguage(language.code, {}, ansiOfUtf8), language.code);
        expectProgramFormsFit();
        useCatalogue(Catalogue());
    }
}

TEST_F(Win32Captions, ACaptionTooLongForItsBoxTakesFreeRoomButNotANeighbours) {
    Form frm("frmTest");
    frm.move(0, 0, 6000, 4000);
    Label& label = frm.add<Label>("lblLong");
    label.move(240, 240, 900, 255);
    label.setCaption("A caption far longer than the box it was designed in");
    CheckBox& box = frm.add<CheckBox>("chkLong");
    box.move(240, 900, 900, 300);
    box.setCaption("A check box caption longer than its box");
    frm.add<ComboBox>("cmbBeside").move(2400, 870, 900, 315);
    host.attach(frm);
    const Scale& scale = host.windowOf(frm)->scale();
    RECT shown;
    GetClientRect(hwndOf(frm, label), &shown);
    EXPECT_GT(shown.right, scale.x(900));
    EXPECT_LE(drawnSize(hwndOf(frm, label), shown.right).cy, shown.bottom);
    GetWindowRect(hwndOf(frm, box), &shown);
    MapWindowPoints(nullptr, host.hwndOf(frm), reinterpret_cast<POINT*>(&shown), 2);
    EXPECT_EQ(shown.right, scale.x(2400));  // up to the combo, not over it
    EXPECT_EQ(box.width(), 900);             // the model keeps its design
    host.detach(frm);
}

// Without a name of its own a list or picture is read as a bare "list" from its window text.
TEST_F(Win32Captions, ListsAndPicturesCarryTheNameAScreenReaderReads) {
    Form frm("frmMain");
    declareMainLayout(frm);
    host.attach(frm);
    int named = 0;
    for (Control* c : frm.controls()) {
        const bool needsName = c->kind() == ControlKind::ListBox || c->kind() == ControlKind::PictureBox;
        HWND hwnd = needsName ? hwndOf(frm, *c) : nullptr;
        if (!hwnd) continue;
        EXPECT_FALSE(windowText(hwnd).empty()) << c->name();
        ++named;
    }
    EXPECT_GE(named, 5);
    EXPECT_EQ(windowText(hwndOf(frm, frm.get<ListBox>("lstRam"))), "Amount of RAM to release");
    host.detach(frm);
}

}  // namespace
}  // namespace qm::win32
