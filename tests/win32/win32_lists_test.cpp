// The native lists and menus follow their models change by change: the controls hold what
// the models hold, each entry added is one insertion, and the menu bar is changed in place.
#include <gtest/gtest.h>
#include <windows.h>

#include <algorithm>
#include <functional>
#include <string>
#include <vector>

#include "forms/form.h"
#include "ui/win32/form_window.h"
#include "ui/win32/menu_bar.h"
#include "ui/win32/win32_host.h"

namespace qm::win32 {
namespace {

void pumpMessages() {
    MSG msg;
    while (PeekMessageA(&msg, nullptr, 0, 0, PM_REMOVE)) DispatchMessageA(&msg);
}

std::vector<std::string> nativeEntries(HWND hwnd, UINT countMessage, UINT textMessage) {
    std::vector<std::string> entries;
    const auto count = SendMessageA(hwnd, countMessage, 0, 0);
    for (LRESULT i = 0; i < count; ++i) {
        char text[128] = {};
        SendMessageA(hwnd, textMessage, static_cast<WPARAM>(i), reinterpret_cast<LPARAM>(text));
        entries.emplace_back(text);
    }
    return entries;
}

// Counts the list messages that reach a control, then lets the control handle them.
struct MessageCounter {
    static inline WNDPROC original = nullptr;
    static inline std::vector<UINT> seen;
    static LRESULT CALLBACK proc(HWND hwnd, UINT msg, WPARAM wp, LPARAM lp) {
        seen.push_back(msg);
        return CallWindowProcA(original, hwnd, msg, wp, lp);
    }
    explicit MessageCounter(HWND hwnd) : hwnd(hwnd) {
        seen.clear();
        original = reinterpret_cast<WNDPROC>(
            SetWindowLongPtrA(hwnd, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(&MessageCounter::proc)));
    }
    ~MessageCounter() { SetWindowLongPtrA(hwnd, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(original)); }
    int count(UINT msg) const { return static_cast<int>(std::count(seen.begin(), seen.end(), msg)); }
    HWND hwnd;
};

class Win32ListsTest : public ::testing::Test {
protected:
    void SetUp() override {
        frm.setCaption("Lists");
        frm.move(0, 0, 6000, 4000);
        list = &frm.add<ListBox>("lstRam");
        list->move(120, 120, 2000, 1500);
        combo = &frm.add<ComboBox>("cmbRetry");
        combo->move(2400, 120, 1500, 315);
        list->addItem("before the window");
        list->onClick = [this] { ++clicks; };
        combo->onClick = [this] { ++clicks; };
        host.attach(frm);
        frm.show();
        window = host.windowOf(frm);
    }
    HWND hwndOf(Control& c) const { return window->viewOf(&c)->hwnd(); }

    Win32Host host;
    Form frm{"frmLists"};
    ListBox* list = nullptr;
    ComboBox* combo = nullptr;
    FormWindow* window = nullptr;
    int clicks = 0;
};

// Adds, removes, replaces and clears, checking after each step that `same` holds.
void mixedChanges(ListControl& target, const std::function<void(const char* step)>& same) {
    for (int i = 0; i < 12; ++i) target.addItem(std::to_string(i * 2) + " MB");
    same("filled");
    target.setListIndex(7);
    target.removeItem(2);
    same("removed before the selection");
    target.setList(0, "first");
    target.setList(6, "chosen");
    same("replaced");
    target.removeItem(6);
    target.addItem("tail");
    target.removeItem(0);
    same("removed the selection and at the front");
    target.setListIndex(3);
    target.clear();
    same("cleared");
    target.addItem("again");
    same("refilled");
}

TEST_F(Win32ListsTest, ListAndComboHoldTheirModelsEntriesAndSelectionThroughEveryChange) {
    HWND lst = hwndOf(*list);
    HWND cmb = hwndOf(*combo);
    mixedChanges(*list, [&](const char* step) {
        EXPECT_EQ(nativeEntries(lst, LB_GETCOUNT, LB_GETTEXT), list->items()) << step;
        EXPECT_EQ(SendMessageA(lst, LB_GETCURSEL, 0, 0), list->listIndex()) << step;
    });
    mixedChanges(*combo, [&](const char* step) {
        EXPECT_EQ(nativeEntries(cmb, CB_GETCOUNT, CB_GETLBTEXT), combo->items()) << step;
        EXPECT_EQ(SendMessageA(cmb, CB_GETCURSEL, 0, 0), combo->listIndex()) << step;
        pumpMessages();  // drawing held for a burst comes back in between as well
    });
    EXPECT_EQ(clicks, 4) << "only the selections by program click";
    pumpMessages();
    EXPECT_TRUE(IsWindowVisible(lst) && IsWindowVisible(cmb)) << "held drawing is given back";
    list->setVisible(false);
    list->addItem("while hidden");
    pumpMessages();
    EXPECT_FALSE(IsWindowVisible(lst)) << "giving drawing back does not show a hidden list";
}

TEST_F(Win32ListsTest, EachEntryAddedIsOneInsertion) {
    constexpr int kEntries = 1000;
    {
        MessageCounter counter(hwndOf(*list));
        for (int i = 0; i < kEntries; ++i) list->addItem(std::to_string(i) + " MB");
        EXPECT_EQ(counter.count(LB_INSERTSTRING) + counter.count(LB_ADDSTRING), kEntries);
        EXPECT_EQ(counter.count(LB_RESETCONTENT), 0);
    }
    {
        MessageCounter counter(hwndOf(*combo));
        for (int i = 0; i < kEntries; ++i) combo->addItem(std::to_string(i));
        EXPECT_EQ(counter.count(CB_INSERTSTRING) + counter.count(CB_ADDSTRING), kEntries);
        EXPECT_EQ(counter.count(CB_RESETCONTENT), 0);
    }
    pumpMessages();
    EXPECT_EQ(SendMessageA(hwndOf(*list), LB_GETCOUNT, 0, 0), kEntries + 1);
}

// A menu as text, item by item: caption, greyed, checked, and its submenu in brackets.
std::string describe(HMENU menu) {
    std::string text;
    for (int i = 0; i < GetMenuItemCount(menu); ++i) {
        char caption[128] = {};
        GetMenuStringA(menu, static_cast<UINT>(i), caption, sizeof caption, MF_BYPOSITION);
        const UINT state = GetMenuState(menu, static_cast<UINT>(i), MF_BYPOSITION);
        text += (state & MF_SEPARATOR) ? std::string("-") : std::string(caption);
        if (state & MF_GRAYED) text += "~";
        if (state & MF_CHECKED) text += "*";
        if (HMENU sub = GetSubMenu(menu, i)) text += "[" + describe(sub) + "]";
        text += ";";
    }
    return text;
}

TEST_F(Win32ListsTest, TheMenuBarChangesInPlaceAndEndsAsAFreshBuildWouldShowIt) {
    Menu& file = frm.add<Menu>("mnuFile");
    file.setCaption("&File");
    Menu& release = frm.add<Menu>("mnuRelease", &file);
    release.setCaption("Free&Up RAM Now");
    Menu& programs = frm.add<Menu>("mnuPrograms", &file);
    programs.setCaption("&Programs");
    frm.add<Menu>("mnuP1", &programs, 0).setCaption("One");
    frm.add<Menu>("mnuSep", &file).setCaption("-");
    Menu& help = frm.add<Menu>("mnuHelp");
    help.setCaption("&Help");
    frm.add<Menu>("mnuAbout", &help).setCaption("&About");
    HMENU bar = GetMenu(window->hwnd());
    HMENU fileMenu = GetSubMenu(bar, 0);
    ASSERT_NE(fileMenu, nullptr);
    HMENU programsMenu = GetSubMenu(fileMenu, 1);
    ASSERT_NE(programsMenu, nullptr);

    for (int i = 1; i <= 200; ++i) {
        Menu& item = frm.loadMenuElement("mnuP1", i);
        item.setCaption("Program " + std::to_string(i));
        item.setVisible(true);
    }
    frm.element<Menu>("mnuP1", 5).setVisible(false);
    frm.element<Menu>("mnuP1", 5).setVisible(true);
    frm.element<Menu>("mnuP1", 7).setChecked(true);
    frm.element<Menu>("mnuP1", 9).setEnabled(false);
    frm.element<Menu>("mnuP1", 3).setVisible(false);
    frm.unloadElement("mnuP1", 10);
    release.setCaption("Free Up 64 MB Now");
    help.setEnabled(false);
    EXPECT_EQ(GetMenu(window->hwnd()), bar) << "the bar is changed, not built again";
    EXPECT_EQ(GetSubMenu(fileMenu, 1), programsMenu);
    EXPECT_EQ(GetMenuItemCount(programsMenu), 199);

    MenuBar fresh(frm);
    std::string built, shown = describe(bar);
    for (Control* c : frm.childrenOf(nullptr)) {
        if (c->kind() != ControlKind::Menu) continue;
        HMENU items = fresh.buildPopup(static_cast<Menu&>(*c));
        const UINT state = static_cast<Menu&>(*c).enabled() ? 0 : MF_GRAYED;
        built += c->caption() + (state ? "~" : "") + "[" + describe(items) + "];";
        DestroyMenu(items);
    }
    EXPECT_EQ(shown, built);

    // The item left without shown items becomes a plain item, and one again a submenu.
    for (int index : frm.elementIndexes("mnuP1")) frm.element<Menu>("mnuP1", index).setVisible(false);
    EXPECT_EQ(GetSubMenu(GetSubMenu(GetMenu(window->hwnd()), 0), 1), nullptr);
    frm.element<Menu>("mnuP1", 0).setVisible(true);
    EXPECT_EQ(GetMenuItemCount(GetSubMenu(GetSubMenu(GetMenu(window->hwnd()), 0), 1)), 1);
    file.setVisible(false);
    help.setVisible(false);
    EXPECT_EQ(GetMenu(window->hwnd()), nullptr) << "a form without visible menus has no bar";
}

}  // namespace
}  // namespace qm::win32
