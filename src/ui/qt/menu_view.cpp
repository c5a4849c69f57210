#include "ui/qt/menu_view.h"

#include <QAction>
#include <QMenu>
#include <QMenuBar>

#include "ui/qt/form_window.h"

namespace qm::qt {

namespace {

bool opensSubmenu(const Menu& menu) {
    return menu.parent() == nullptr || !menu.form()->childrenOf(&menu).empty();
}

}  // namespace

MenuView::MenuView(Menu& menu, FormWindow& window) : ControlView(menu, window), menu_(menu) {
    if (opensSubmenu(menu)) {
        submenu_ = new QMenu(window.widgetForMenus());
        QObject::connect(submenu_, &QMenu::aboutToShow, this, [this] {
            if (!itemsRealized_) realizeItems();
        });
        takeAction(submenu_->menuAction());
        insertIntoParent();
        return;
    }
    const MenuView* parent = window.menuViewOf(menu.parent());
    if (!parent || !parent->submenu() || parent->itemsRealized()) {
        takeAction(new QAction(window.widgetForMenus()));
        insertIntoParent();
    }
}

MenuView::~MenuView() {
    if (submenu_) delete submenu_.data();
    else if (action_) delete action_.data();
}

void MenuView::takeAction(QAction* action) {
    action_ = action;
    action_->setObjectName(QString::fromStdString(menu_.name()));
    QObject::connect(action_, &QAction::triggered, this, [this] {
        userAction([this] { menu_.userClick(); }, Prop::Checked);
    });
}

// A late action takes every property the model has now.
void MenuView::realize(QAction* before) {
    if (action_ || detached()) return;
    takeAction(new QAction(window().widgetForMenus()));
    window().menuContainer(menu_.parent())->insertAction(before, action_);
    mirrorAll();
}

// From the last item to the first, so each goes before the one already placed after it.
void MenuView::realizeItems() {
    itemsRealized_ = true;
    const std::vector<Control*>& items = menu_.form()->childrenOf(&menu_);
    QAction* before = nullptr;
    for (auto it = items.rbegin(); it != items.rend(); ++it) {
        MenuView* item = window().menuViewOf(*it);
        if (!item) continue;
        item->realize(before);
        if (item->action()) before = item->action();
    }
}

// Items keep the order of the form's declarations, also when loaded at run time.
void MenuView::insertIntoParent() {
    QWidget* parent = window().menuContainer(menu_.parent());
    const std::vector<Control*>& siblings = menu_.form()->childrenOf(menu_.parent());
    auto self = std::find(siblings.begin(), siblings.end(), &menu_);
    QAction* before = nullptr;
    for (auto it = self == siblings.end() ? self : self + 1; it != siblings.end() && !before; ++it) {
        if ((*it)->kind() != ControlKind::Menu) continue;
        if (MenuView* next = window().menuViewOf(*it)) before = next->action();
    }
    parent->insertAction(before, action_);
}

void MenuView::detach() {
    ControlView::detach();
    if (action_) action_->setVisible(false);
}

void MenuView::mirror(Prop what) {
    if (detached() || !action_) return;
    switch (what) {
        case Prop::Caption:
            action_->setSeparator(menu_.isSeparator());
            // A rule is a line only: a style draws a separator's text beside it.
            action_->setText(menu_.isSeparator() ? QString() : QString::fromStdString(menu_.shownCaption()));
            if (submenu_) submenu_->setTitle(QString::fromStdString(menu_.shownCaption()));
            break;
        case Prop::Visible: action_->setVisible(menu_.visible()); break;
        case Prop::Enabled: action_->setEnabled(menu_.enabled()); break;
        case Prop::Checked:
            action_->setCheckable(menu_.checked() || action_->isCheckable());
            action_->setChecked(menu_.checked());
            break;
        default: break;
    }
}

}  // namespace qm::qt
