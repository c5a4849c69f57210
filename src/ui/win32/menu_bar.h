#pragma once
// The form's menus as a native menu bar, changed item by item as the models change: an item
// is inserted where it shows, modified in place, or deleted; an item with shown items of its
// own is a submenu. Each item keeps its command id for its whole life, so a command never
// reaches the wrong item.
#include <windows.h>

#include <functional>
#include <map>
#include <vector>

#include "forms/form.h"

namespace qm::win32 {

class MenuBar {
public:
    explicit MenuBar(Form& form) : form_(form) {}
    ~MenuBar();
    MenuBar(const MenuBar&) = delete;
    MenuBar& operator=(const MenuBar&) = delete;

    // Starts and stops observing one item (the form tells about loads and unloads); a
    // visible item shows at once, a forgotten one goes.
    void watch(Menu& item);
    void forget(Menu& item);
    void attachTo(HWND window) { window_ = window; }
    // A menu command: the item's click, through its model. False for unknown ids.
    bool command(int id);
    // A fresh pop-up of the item's submenu; the caller destroys it.
    HMENU buildPopup(const Menu& menu);
    // The native bar as it stands (null while no menu shows).
    HMENU bar() const { return bar_; }
    // Called when the bar's own row changed (its height changes the client area).
    std::function<void()> onBarChanged;

private:
    void changed(Menu& item, Prop what);
    bool isPlaced(const Menu& item) const;
    bool parentPlaced(const Menu& item) const;
    void place(Menu& item);
    void unplace(Menu& item);
    void replace(Menu& item);
    void insertNative(Menu& item, HMENU into, int position);
    void placeChildren(Menu& item);
    void forgetPlaced(const Menu& item);
    void updateNative(Menu& item);
    int placedPosition(const Menu& item) const;
    int insertPosition(const Menu& item) const;
    HMENU nativeMenuFor(const Control* parent);
    void barChanged();
    HMENU buildItems(const Control* parent, HMENU into);
    void append(HMENU menu, Menu& item);
    int idOf(Menu& item);

    Form& form_;
    HWND window_ = nullptr;
    HMENU bar_ = nullptr;
    // The items shown in each native menu (keyed by their parent; null = the bar), in order.
    std::map<const Control*, std::vector<Menu*>> placed_;
    std::map<const Menu*, HMENU> popups_;
    std::map<Menu*, int> subscriptions_;
    std::map<Menu*, int> ids_;
    std::map<int, Menu*> items_;
    int nextId_ = 40000;
};

}  // namespace qm::win32
