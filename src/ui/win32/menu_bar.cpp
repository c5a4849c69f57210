#include "ui/win32/menu_bar.h"

#include <algorithm>

#include "ui/win32/control_view.h"

namespace qm::win32 {

namespace {

bool hasVisibleItems(const Form& form, const Control* parent) {
    const std::vector<Control*>& children = form.childrenOf(parent);
    return std::any_of(children.begin(), children.end(),
                       [](const Control* c) { return c->kind() == ControlKind::Menu && c->visible(); });
}

UINT stateFlags(const Menu& item) {
    return (item.enabled() ? MF_ENABLED : MF_GRAYED) | (item.checked() ? MF_CHECKED : MF_UNCHECKED);
}

template <class Range, class T>
int positionFromBack(const Range& range, const T* wanted) {
    const auto it = std::find(range.rbegin(), range.rend(), wanted);
    return it == range.rend() ? -1 : static_cast<int>(range.rend() - it) - 1;
}

}  // namespace

MenuBar::~MenuBar() {
    for (auto& [item, subscription] : subscriptions_) item->unsubscribe(subscription);
    if (window_ && GetMenu(window_) == bar_) SetMenu(window_, nullptr);
    if (bar_) DestroyMenu(bar_);
}

void MenuBar::watch(Menu& item) {
    subscriptions_[&item] = item.subscribe([this](Control& subject, Prop what) {
        changed(static_cast<Menu&>(subject), what);
    });
    if (item.visible() && parentPlaced(item)) place(item);
}

void MenuBar::forget(Menu& item) {
    unplace(item);
    auto it = subscriptions_.find(&item);
    if (it != subscriptions_.end()) {
        item.unsubscribe(it->second);
        subscriptions_.erase(it);
    }
    auto id = ids_.find(&item);
    if (id != ids_.end()) {
        items_.erase(id->second);
        ids_.erase(id);
    }
}

void MenuBar::changed(Menu& item, Prop what) {
    if (what == Prop::Visible) {
        if (!item.visible()) unplace(item);
        else if (parentPlaced(item)) place(item);
    } else if (what == Prop::Caption || what == Prop::Enabled || what == Prop::Checked) {
        if (isPlaced(item)) updateNative(item);
    }
}

bool MenuBar::isPlaced(const Menu& item) const {
    auto it = placed_.find(item.parent());
    return it != placed_.end() && positionFromBack(it->second, &item) >= 0;
}

bool MenuBar::parentPlaced(const Menu& item) const {
    const Control* parent = item.parent();
    return !parent || (parent->kind() == ControlKind::Menu && isPlaced(static_cast<const Menu&>(*parent)));
}

// A parent shown as a plain item becomes a submenu: it is shown again with its items.
void MenuBar::place(Menu& item) {
    if (isPlaced(item)) return;
    Control* parent = item.parent();
    if (parent && !popups_.count(static_cast<Menu*>(parent))) return replace(static_cast<Menu&>(*parent));
    const int position = insertPosition(item);
    std::vector<Menu*>& shown = placed_[parent];
    shown.insert(shown.begin() + position, &item);
    insertNative(item, nativeMenuFor(parent), position);
    if (!parent) barChanged();
}

// A parent left without shown items becomes a plain item again.
void MenuBar::unplace(Menu& item) {
    const int position = placedPosition(item);
    if (position < 0) return;
    Control* parent = item.parent();
    std::vector<Menu*>& shown = placed_[parent];
    shown.erase(shown.begin() + position);
    forgetPlaced(item);
    DeleteMenu(nativeMenuFor(parent), static_cast<UINT>(position), MF_BYPOSITION);  // its submenu goes too
    if (!parent) {
        barChanged();
    } else if (shown.empty()) {
        replace(static_cast<Menu&>(*parent));
    }
}

void MenuBar::replace(Menu& item) {
    unplace(item);
    if (item.visible() && parentPlaced(item)) place(item);
}

void MenuBar::insertNative(Menu& item, HMENU into, int position) {
    const UINT at = static_cast<UINT>(position);
    if (item.isSeparator()) {
        InsertMenuA(into, at, MF_BYPOSITION | MF_SEPARATOR, 0, nullptr);
    } else if (hasVisibleItems(form_, &item)) {
        HMENU sub = CreatePopupMenu();
        popups_[&item] = sub;
        InsertMenuA(into, at, MF_BYPOSITION | MF_POPUP | stateFlags(item), reinterpret_cast<UINT_PTR>(sub),
                    item.shownCaption().c_str());
        placeChildren(item);
    } else {
        InsertMenuA(into, at, MF_BYPOSITION | MF_STRING | stateFlags(item), static_cast<UINT_PTR>(idOf(item)),
                    item.shownCaption().c_str());
    }
}

void MenuBar::placeChildren(Menu& item) {
    for (Control* c : form_.childrenOf(&item)) {
        if (c->kind() == ControlKind::Menu && c->visible()) place(static_cast<Menu&>(*c));
    }
}

// The native items of the item's submenu go with it; only the records remain to drop.
void MenuBar::forgetPlaced(const Menu& item) {
    auto it = placed_.find(&item);
    if (it != placed_.end()) {
        for (const Menu* child : it->second) forgetPlaced(*child);
        placed_.erase(it);
    }
    popups_.erase(&item);
}

// A caption that makes a plain item a rule, or a rule an item, needs a new native item.
void MenuBar::updateNative(Menu& item) {
    const int position = placedPosition(item);
    HMENU menu = nativeMenuFor(item.parent());
    MENUITEMINFOA info{};
    info.cbSize = sizeof info;
    info.fMask = MIIM_FTYPE;
    GetMenuItemInfoA(menu, static_cast<UINT>(position), TRUE, &info);
    if (((info.fType & MFT_SEPARATOR) != 0) != item.isSeparator()) return replace(item);
    if (item.isSeparator()) return;
    info.fMask = MIIM_STRING | MIIM_STATE;
    std::string caption = item.shownCaption();  // alive until the menu has copied it
    info.dwTypeData = caption.data();
    info.fState = (item.enabled() ? MFS_ENABLED : MFS_GRAYED) | (item.checked() ? MFS_CHECKED : MFS_UNCHECKED);
    SetMenuItemInfoA(menu, static_cast<UINT>(position), TRUE, &info);
    if (!item.parent()) barChanged();
}

int MenuBar::placedPosition(const Menu& item) const {
    auto it = placed_.find(item.parent());
    return it == placed_.end() ? -1 : positionFromBack(it->second, &item);
}

// Right after the nearest earlier sibling that shows; items are mostly added at the end,
// so both searches start there.
int MenuBar::insertPosition(const Menu& item) const {
    const std::vector<Control*>& siblings = form_.childrenOf(item.parent());
    const int self = positionFromBack(siblings, static_cast<const Control*>(&item));
    for (int i = self - 1; i >= 0; --i) {
        if (siblings[static_cast<size_t>(i)]->kind() != ControlKind::Menu) continue;
        const int before = placedPosition(static_cast<const Menu&>(*siblings[static_cast<size_t>(i)]));
        if (before >= 0) return before + 1;
    }
    return 0;
}

// The bar exists while an item shows on it.
HMENU MenuBar::nativeMenuFor(const Control* parent) {
    if (parent) return popups_.at(static_cast<const Menu*>(parent));
    if (!bar_) {
        bar_ = CreateMenu();
        if (window_) SetMenu(window_, bar_);
    }
    return bar_;
}

void MenuBar::barChanged() {
    if (bar_ && GetMenuItemCount(bar_) == 0) {
        if (window_) SetMenu(window_, nullptr);
        DestroyMenu(bar_);
        bar_ = nullptr;
    }
    if (!window_) return;
    DrawMenuBar(window_);
    if (onBarChanged) onBarChanged();
}

int MenuBar::idOf(Menu& item) {
    auto it = ids_.find(&item);
    if (it != ids_.end()) return it->second;
    const int id = nextId_++;
    ids_[&item] = id;
    items_[id] = &item;
    return id;
}

bool MenuBar::command(int id) {
    auto it = items_.find(id);
    if (it == items_.end()) return false;
    Menu& item = *it->second;
    try {
        item.userClick();
    } catch (const std::exception& e) {
        reportStray(item.name(), e.what());
    }
    return true;
}

void MenuBar::append(HMENU menu, Menu& item) {
    if (item.isSeparator()) {
        AppendMenuA(menu, MF_SEPARATOR, 0, nullptr);
    } else if (hasVisibleItems(form_, &item)) {
        HMENU sub = buildItems(&item, CreatePopupMenu());
        AppendMenuA(menu, MF_POPUP | stateFlags(item), reinterpret_cast<UINT_PTR>(sub), item.shownCaption().c_str());
    } else {
        AppendMenuA(menu, MF_STRING | stateFlags(item), static_cast<UINT_PTR>(idOf(item)), item.shownCaption().c_str());
    }
}

HMENU MenuBar::buildItems(const Control* parent, HMENU into) {
    for (Control* c : form_.childrenOf(parent)) {
        if (c->kind() == ControlKind::Menu && c->visible()) append(into, static_cast<Menu&>(*c));
    }
    return into;
}

HMENU MenuBar::buildPopup(const Menu& menu) { return buildItems(&menu, CreatePopupMenu()); }

}  // namespace qm::win32
