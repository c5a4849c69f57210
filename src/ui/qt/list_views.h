#pragma once
// Views of the controls with entries: list boxes, drop-down lists, the list view and the
// tab strip.
#include "ui/qt/control_view.h"

class QListWidget;
class QComboBox;
class QTabBar;

namespace qm::qt {

class ListBoxView : public ControlView {
public:
    ListBoxView(ListBox& list, FormWindow& window);

protected:
    void mirror(Prop what) override;

private:
    void userRow(int row);
    ListBox& list_;
    QListWidget* widget_;
};

class ComboView : public ControlView {
public:
    ComboView(ComboBox& combo, FormWindow& window);

protected:
    void mirror(Prop what) override;

private:
    ComboBox& combo_;
    QComboBox* widget_;
};

class ListViewView : public ControlView {
public:
    ListViewView(ListView& view, FormWindow& window);

protected:
    void mirror(Prop what) override;

private:
    ListView& view_;
    QListWidget* widget_;
};

// Only the row of tabs is the tab strip's own; its body is a panel that the pages lie on.
class TabStripView : public ControlView {
public:
    TabStripView(TabStrip& tabs, FormWindow& window);
    QTabBar* tabBar() const { return bar_; }

protected:
    void mirror(Prop what) override;

private:
    void layoutRow();
    void fitTabs();
    TabStrip& tabs_;
    QTabBar* bar_;
};

}  // namespace qm::qt
