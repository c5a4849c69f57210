#pragma once
// A menu item: a QAction in its parent's menu (or the menu bar); an item with items of its
// own, and every menu of the bar, is a QMenu. Caption "-" is a separator. The plain items
// of a pop-up get their actions when it is first about to show (a long Programs list costs
// nothing at start); loaded after that, an item gets its action at once.
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

    // Null for a plain item whose pop-up has not been shown yet.
    QAction* action() const { return action_; }
    QMenu* submenu() const { return submenu_; }

protected:
    void mirror(Prop what) override;

private:
    void takeAction(QAction* action);
    void realize(QAction* before);
    void realizeItems();
    bool itemsRealized() const { return itemsRealized_; }
    void insertIntoParent();
    Menu& menu_;
    QPointer<QMenu> submenu_;
    QPointer<QAction> action_;
    bool itemsRealized_ = false;
};

}  // namespace qm::qt
