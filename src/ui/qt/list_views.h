#pragma once
// Views of the controls with entries: list boxes, drop-down lists, the list view and the
// tab strip.
#include <QAbstractListModel>

#include "forms/list_follower.h"
#include "ui/qt/control_view.h"

class QListView;
class QListWidget;
class QComboBox;
class QTabBar;

namespace qm::qt {

// A core list's entries as a Qt item model: the widgets read the core's own strings, and
// each change notice becomes the matching row signals. The row count is the model's own, so
// the signals always describe the rows the widgets last saw.
class EntryModel : public QAbstractListModel, private EntrySink {
public:
    EntryModel(const ListControl& list, QObject* parent);
    int rowCount(const QModelIndex& parent = {}) const override;
    QVariant data(const QModelIndex& index, int role) const override;
    // Applies the list's changes since the last call (on every Prop::Items).
    void follow() { follower_.catchUp(list_, *this); }

private:
    void entryAdded(int index) override;
    void entryRemoved(int index) override;
    void entriesCleared() override { entriesReloaded(); }
    void entryReplaced(int index) override;
    void entriesReloaded() override;

    const ListControl& list_;
    ListFollower follower_;
    int rows_ = 0;
};

class ListBoxView : public ControlView {
public:
    ListBoxView(ListBox& list, FormWindow& window);

protected:
    void mirror(Prop what) override;

private:
    void userSelectionChanged();
    void showSelection();
    ListBox& list_;
    QListView* widget_;
    EntryModel* model_;
    bool applying_ = false;  // the widget takes a change of the model, not the user's
};

class ComboView : public ControlView {
public:
    ComboView(ComboBox& combo, FormWindow& window);

protected:
    void mirror(Prop what) override;

private:
    ComboBox& combo_;
    QComboBox* widget_;
    EntryModel* model_;
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
