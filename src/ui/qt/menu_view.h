#pragma once
// A menu item: a QAction in its parent's menu (or the menu bar); an item with items of its
// own, and every menu of the bar, is a QMenu. Caption "-" is a separator.
#include <QAction>
#include <QMenu>
#include <QPointer>

#include "ui/qt/control_view.h"

namespace qm::qt {

class MenuView : public ControlView {
public:
    MenuView(Menu& menu, FormWindow& window);
    ~MenuView() override;
    void detach() override;

    QAction* action() const { return action_; }
    QMenu* submenu() const { return submenu_; }

protected:
    void mirror(Prop what) override;

private:
    void insertIntoParent();
    Menu& menu_;
    QPointer<QMenu> submenu_;
    QPointer<QAction> action_;
};

}  // namespace qm::qt
