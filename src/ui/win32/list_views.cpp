#include "ui/win32/list_views.h"

#include <commctrl.h>
#include <oleacc.h>

#include "base/catalogue.h"
#include "ui/win32/form_window.h"
#include "ui/win32/resources.h"

namespace qm::win32 {

NativeEntries::NativeEntries(const ListControl& list, FormWindow& window, NativeListMessages messages)
    : list_(list), window_(window), messages_(messages) {}

void NativeEntries::follow(HWND hwnd) {
    hwnd_ = hwnd;
    window_.holdRedraw(hwnd);
    follower_.catchUp(list_, *this);
}

void NativeEntries::showSelection(HWND hwnd) const { SendMessageA(hwnd, messages_.select, list_.listIndex(), 0); }

void NativeEntries::insert(int index) const {
    SendMessageA(hwnd_, messages_.insert, index, reinterpret_cast<LPARAM>(list_.shownList(index).c_str()));
}

void NativeEntries::entryAdded(int index) { insert(index); }

void NativeEntries::entryRemoved(int index) { SendMessageA(hwnd_, messages_.remove, index, 0); }

void NativeEntries::entriesCleared() { SendMessageA(hwnd_, messages_.reset, 0, 0); }

void NativeEntries::entryReplaced(int index) {
    entryRemoved(index);
    insert(index);
}

void NativeEntries::entriesReloaded() {
    entriesCleared();
    for (int i = 0; i < list_.listCount(); ++i) insert(i);
}

ListBoxView::ListBoxView(ListBox& list, FormWindow& window)
    : ControlView(list, window), list_(list),
      entries_(list, window, {LB_INSERTSTRING, LB_DELETESTRING, LB_RESETCONTENT, LB_SETCURSEL}) {
    create("LISTBOX", LBS_NOTIFY | LBS_NOINTEGRALHEIGHT | WS_VSCROLL | WS_TABSTOP, WS_EX_CLIENTEDGE);
}

void ListBoxView::command(int code) {
    if (code == LBN_SELCHANGE) {
        userAction([this] { list_.userSelect(static_cast<int>(SendMessageA(hwnd(), LB_GETCURSEL, 0, 0))); },
                   Prop::ListIndex);
    } else if (code == LBN_DBLCLK) {
        userAction([this] { list_.userDoubleClick(); }, Prop::ListIndex);
    }
}

void ListBoxView::mirror(Prop what) {
    ControlView::mirror(what);
    if (!hwnd()) return;
    if (what == Prop::Items) entries_.follow(hwnd());
    if (what == Prop::Items || what == Prop::ListIndex) entries_.showSelection(hwnd());
}

// The window's height includes the dropped-down list; the model's height is the closed box.
ComboView::ComboView(ComboBox& combo, FormWindow& window)
    : ControlView(combo, window), combo_(combo),
      entries_(combo, window, {CB_INSERTSTRING, CB_DELETESTRING, CB_RESETCONTENT, CB_SETCURSEL}) {
    create("COMBOBOX", CBS_DROPDOWNLIST | WS_VSCROLL | WS_TABSTOP);
    // The entries drop down in a list window of their own, read once it opens.
    COMBOBOXINFO parts{};
    parts.cbSize = sizeof parts;
    if (hwnd() && GetComboBoxInfo(hwnd(), &parts) && parts.hwndList) {
        nameForScreenReaders(parts.hwndList, ROLE_SYSTEM_LIST);
    }
}

void ComboView::command(int code) {
    if (code == CBN_SELCHANGE) {
        userAction([this] { combo_.userSelect(static_cast<int>(SendMessageA(hwnd(), CB_GETCURSEL, 0, 0))); },
                   Prop::ListIndex);
    }
}

void ComboView::mirror(Prop what) {
    ControlView::mirror(what);
    if (!hwnd()) return;
    if (what == Prop::Geometry) {
        const RECT r = rectPx();
        MoveWindow(hwnd(), r.left, r.top, r.right - r.left, (r.bottom - r.top) + scale().y(3000), TRUE);
    }
    if (what == Prop::Items) entries_.follow(hwnd());
    if (what == Prop::Items || what == Prop::ListIndex) entries_.showSelection(hwnd());
}

TabView::TabView(TabStrip& tabs, FormWindow& window) : ControlView(tabs, window), tabs_(tabs) {
    create(WC_TABCONTROLA, WS_TABSTOP);
}

LRESULT TabView::notify(const NMHDR& header) {
    if (header.code == static_cast<UINT>(TCN_SELCHANGE)) {
        userAction([this] { tabs_.userSelectTab(static_cast<int>(SendMessageA(hwnd(), TCM_GETCURSEL, 0, 0)) + 1); },
                   Prop::ListIndex);
    }
    return 0;
}

void TabView::mirror(Prop what) {
    ControlView::mirror(what);
    if (!hwnd()) return;
    if (what == Prop::Items) {
        SendMessageA(hwnd(), TCM_DELETEALLITEMS, 0, 0);
        int i = 0;
        for (const std::string& english : tabs_.tabs()) {
            std::string caption = shown(english);
            TCITEMA item{};
            item.mask = TCIF_TEXT;
            item.pszText = caption.data();
            SendMessageA(hwnd(), TCM_INSERTITEMA, i++, reinterpret_cast<LPARAM>(&item));
        }
    }
    if (what == Prop::Items || what == Prop::ListIndex) SendMessageA(hwnd(), TCM_SETCURSEL, tabs_.selectedTab() - 1, 0);
}

ListViewView::ListViewView(ListView& view, FormWindow& window) : ControlView(view, window), view_(view) {
    create(WC_LISTVIEWA, LVS_REPORT | LVS_NOCOLUMNHEADER | LVS_SINGLESEL | WS_TABSTOP, WS_EX_CLIENTEDGE);
    LVCOLUMNA column{};
    column.mask = LVCF_WIDTH;
    column.cx = rectPx().right - rectPx().left - 8;
    SendMessageA(hwnd(), LVM_INSERTCOLUMNA, 0, reinterpret_cast<LPARAM>(&column));
    attachImages();
}

ListViewView::~ListViewView() {
    if (images_) ImageList_Destroy(images_);
}

// The pictures of the form's image list, 1-based as the items name them.
void ListViewView::attachImages() {
    images_ = ImageList_Create(16, 16, ILC_COLOR32 | ILC_MASK, 4, 4);
    for (const std::string& name : imageListPictures(window().form())) {
        HICON icon = resourceIcon(name, 16);
        ImageList_AddIcon(images_, icon ? icon : LoadIcon(nullptr, IDI_APPLICATION));
    }
    SendMessageA(hwnd(), LVM_SETIMAGELIST, LVSIL_SMALL, reinterpret_cast<LPARAM>(images_));
}

void ListViewView::mirror(Prop what) {
    ControlView::mirror(what);
    if (!hwnd() || what != Prop::Items) return;
    SendMessageA(hwnd(), LVM_DELETEALLITEMS, 0, 0);
    int row = 0;
    for (const ListViewItem& entry : view_.items()) {
        LVITEMA item{};
        item.mask = LVIF_TEXT | LVIF_IMAGE;
        item.iItem = row++;
        std::string text = shown(entry.text);
        item.pszText = text.data();
        item.iImage = entry.smallIcon - 1;
        SendMessageA(hwnd(), LVM_INSERTITEMA, 0, reinterpret_cast<LPARAM>(&item));
    }
}

// The bar keeps the model's rectangle rather than docking itself.
namespace {

class StatusView : public ControlView {
public:
    StatusView(StatusBar& bar, FormWindow& window);

protected:
    void mirror(Prop what) override;
};

}  // namespace

StatusView::StatusView(StatusBar& bar, FormWindow& window) : ControlView(bar, window) {
    create(STATUSCLASSNAMEA, CCS_NOPARENTALIGN | CCS_NORESIZE | CCS_NODIVIDER);
    SendMessageA(hwnd(), SB_SIMPLE, TRUE, 0);
}

void StatusView::mirror(Prop what) {
    ControlView::mirror(what);
    if (hwnd() && what == Prop::Caption) {
        SendMessageA(hwnd(), SB_SETTEXTA, SB_SIMPLEID, reinterpret_cast<LPARAM>(control().shownCaption().c_str()));
    }
}

std::unique_ptr<ControlView> makeStatusView(StatusBar& bar, FormWindow& window) {
    return std::make_unique<StatusView>(bar, window);
}

}  // namespace qm::win32
