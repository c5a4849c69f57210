#include "ui/win32/menu_bar.h"

#include "ui/win32/control_view.h"

namespace qm::win32 {

namespace {

bool hasVisibleItems(const Form& form, const Control* parent) {
    for (Control* c : form.childrenOf(parent)) {
        if (c->kind() == ControlKind::Menu && c->visible()) return true;
    }
    return false;
}

UINT stateFlags(const Menu& item) {
    return (item.enabled() ? MF_ENABLED : MF_GRAYED) | (item.checked() ? MF_CHECKED : MF_UNCHECKED);
}

}  // namespace

MenuBar::~MenuBar() {
    for (auto& [item, subscription] : subscriptions_) item->unsubscribe(subscription);
    if (window_ && GetMenu(window_) == bar_) SetMenu(window_, nullptr);
    if (bar_) DestroyMenu(bar_);
}

void MenuBar::watch(Menu& item) {
    subscriptions_[&item] = item.subscribe([this](Control&, Prop what) {
        if (what == Prop::Caption || what == Prop::Visible || what == Prop::Enabled || what == Prop::Checked) {
            rebuild();
        }
    });
}

void MenuBar::forget(Menu& item) {
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

int MenuBar::idOf(Menu& item) {
    auto it = ids_.find(&item);
    if (it != ids_.end()) return it->second;
    const int id = nextId_++;
    ids_[&item] = id;
    items_[id] = &item;
    return id;
}

void MenuBar::append(HMENU menu, Menu& item) {
    if (item.isSeparator()) {
        AppendMenuA(menu, MF_SEPARATOR, 0, nullptr);
    } else if (hasVisibleItems(form_, &item)) {
        HMENU sub = buildItems(&item, CreatePopupMenu());
        AppendMenuA(menu, MF_POPUP | stateFlags(item), reinterpret_cast<UINT_PTR>(sub), item.caption().c_str());
    } else {
        AppendMenuA(menu, MF_STRING | stateFlags(item), static_cast<UINT_PTR>(idOf(item)), item.caption().c_str());
    }
}

HMENU MenuBar::buildItems(const Control* parent, HMENU into) {
    for (Control* c : form_.childrenOf(parent)) {
        if (c->kind() == ControlKind::Menu && c->visible()) append(into, static_cast<Menu&>(*c));
    }
    return into;
}

// A form without visible menus has no bar at all.
void MenuBar::rebuild() {
    if (!window_) return;
    HMENU old = bar_;
    bar_ = hasVisibleItems(form_, nullptr) ? buildItems(nullptr, CreateMenu()) : nullptr;
    SetMenu(window_, bar_);
    if (old) DestroyMenu(old);
    DrawMenuBar(window_);
    if (onRebuilt) onRebuilt();
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

HMENU MenuBar::buildPopup(const Menu& menu) { return buildItems(&menu, CreatePopupMenu()); }

}  // namespace qm::win32
