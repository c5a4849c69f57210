#pragma once
// The form's menus as a native menu bar, rebuilt from the models whenever an item
// changes or an array element is loaded or unloaded. Each item keeps its command id
// for its whole life, so a command never reaches the wrong item.
#include <windows.h>

#include <functional>
#include <map>

#include "forms/form.h"

namespace qm::win32 {

class MenuBar {
public:
    explicit MenuBar(Form& form) : form_(form) {}
    ~MenuBar();
    MenuBar(const MenuBar&) = delete;
    MenuBar& operator=(const MenuBar&) = delete;

    // Starts and stops observing one item (the form tells about loads and unloads).
    void watch(Menu& item);
    void forget(Menu& item);
    // Builds the bar again and gives it to the window.
    void rebuild();
    void attachTo(HWND window) { window_ = window; }
    // A menu command: the item's click, through its model. False for unknown ids.
    bool command(int id);
    // A fresh pop-up of the item's submenu; the caller destroys it.
    HMENU buildPopup(const Menu& menu);
    // Called after each rebuild (the bar's height changes the client area).
    std::function<void()> onRebuilt;

private:
    HMENU buildItems(const Control* parent, HMENU into);
    void append(HMENU menu, Menu& item);
    int idOf(Menu& item);

    Form& form_;
    HWND window_ = nullptr;
    HMENU bar_ = nullptr;
    std::map<Menu*, int> subscriptions_;
    std::map<Menu*, int> ids_;
    std::map<int, Menu*> items_;
    int nextId_ = 40000;
};

}  // namespace qm::win32
