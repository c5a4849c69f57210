#include "ui/qt/list_views.h"

#include <QComboBox>
#include <QFrame>
#include <QListView>
#include <QListWidget>
#include <QSignalBlocker>
#include <QTabBar>

#include "base/catalogue.h"
#include "ui/qt/basic_views.h"
#include "ui/qt/form_window.h"

namespace qm::qt {

EntryModel::EntryModel(const ListControl& list, QObject* parent) : QAbstractListModel(parent), list_(list) {}

int EntryModel::rowCount(const QModelIndex& parent) const { return parent.isValid() ? 0 : rows_; }

QVariant EntryModel::data(const QModelIndex& index, int role) const {
    if (!index.isValid() || (role != Qt::DisplayRole && role != Qt::EditRole)) return {};
    if (index.row() >= list_.listCount()) return {};
    return QString::fromStdString(list_.shownList(index.row()));
}

void EntryModel::entryAdded(int index) {
    beginInsertRows({}, index, index);
    ++rows_;
    endInsertRows();
}

void EntryModel::entryRemoved(int index) {
    beginRemoveRows({}, index, index);
    --rows_;
    endRemoveRows();
}

void EntryModel::entryReplaced(int index) {
    const QModelIndex changed = this->index(index);
    emit dataChanged(changed, changed, {Qt::DisplayRole, Qt::EditRole});
}

void EntryModel::entriesReloaded() {
    beginResetModel();
    rows_ = list_.listCount();
    endResetModel();
}

ListBoxView::ListBoxView(ListBox& list, FormWindow& window)
    : ControlView(list, window), list_(list), widget_(new QListView(parentWidget())),
      model_(new EntryModel(list, this)) {
    widget_->setSelectionMode(QAbstractItemView::SingleSelection);
    widget_->setUniformItemSizes(true);  // rows are one line each: no measuring every entry
    widget_->setEditTriggers(QAbstractItemView::NoEditTriggers);
    widget_->setModel(model_);
    // The selection, not the current row: focusing an empty list moves its current row
    // to the top without choosing anything, and that must not count as a click.
    QObject::connect(widget_->selectionModel(), &QItemSelectionModel::selectionChanged, this,
                     [this] { userSelectionChanged(); });
    QObject::connect(widget_, &QListView::doubleClicked, this, [this] {
        userAction([this] { list_.userDoubleClick(); }, Prop::ListIndex);
    });
    setWidget(widget_);
}

void ListBoxView::userSelectionChanged() {
    if (applying_) return;
    const QModelIndexList chosen = widget_->selectionModel()->selectedIndexes();
    if (chosen.isEmpty()) return;
    const int row = chosen.front().row();
    if (row < 0 || row >= list_.listCount()) return;
    userAction([this, row] { list_.userSelect(row); }, Prop::ListIndex);
}

void ListBoxView::mirror(Prop what) {
    ControlView::mirror(what);
    if (detached() || (what != Prop::Items && what != Prop::ListIndex)) return;
    applying_ = true;
    if (what == Prop::Items) model_->follow();
    showSelection();
    applying_ = false;
}

void ListBoxView::showSelection() {
    const QModelIndex chosen = model_->index(list_.listIndex());
    if (!chosen.isValid()) {
        widget_->selectionModel()->clear();
        return;
    }
    widget_->selectionModel()->setCurrentIndex(chosen, QItemSelectionModel::ClearAndSelect);
    widget_->scrollTo(chosen);
}

ComboView::ComboView(ComboBox& combo, FormWindow& window)
    : ControlView(combo, window), combo_(combo), widget_(new QComboBox(parentWidget())),
      model_(new EntryModel(combo, this)) {
    widget_->setEditable(false);
    widget_->setMaxVisibleItems(12);
    widget_->setModel(model_);
    QObject::connect(widget_, &QComboBox::activated, this, [this](int row) {
        if (row < 0 || row >= combo_.listCount()) return;
        userAction([this, row] { combo_.userSelect(row); }, Prop::ListIndex);
    });
    setWidget(widget_);
}

void ComboView::mirror(Prop what) {
    ControlView::mirror(what);
    if (detached() || (what != Prop::Items && what != Prop::ListIndex)) return;
    const QSignalBlocker blocker(widget_);
    if (what == Prop::Items) model_->follow();
    widget_->setCurrentIndex(combo_.listIndex());
}

ListViewView::ListViewView(ListView& view, FormWindow& window)
    : ControlView(view, window), view_(view), widget_(new QListWidget(parentWidget())) {
    widget_->setSelectionMode(QAbstractItemView::NoSelection);
    setWidget(widget_);
}

// Icons come from the form's image list, numbered from 1.
void ListViewView::mirror(Prop what) {
    ControlView::mirror(what);
    if (detached() || what != Prop::Items) return;
    const QSignalBlocker blocker(widget_);
    widget_->clear();
    const std::vector<std::string> pictures = imageListPictures(window().form());
    for (const ListViewItem& item : view_.items()) {
        auto* row = new QListWidgetItem(QString::fromStdString(shown(item.text)), widget_);
        if (item.smallIcon >= 1 && item.smallIcon <= static_cast<int>(pictures.size())) {
            row->setIcon(QIcon(resourcePixmap(pictures[static_cast<size_t>(item.smallIcon - 1)])));
        }
    }
    widget_->scrollToBottom();
}

TabStripView::TabStripView(TabStrip& tabs, FormWindow& window) : ControlView(tabs, window), tabs_(tabs) {
    auto* body = new QFrame(parentWidget());
    body->setFrameStyle(QFrame::NoFrame);
    auto* panel = new QFrame(body);
    panel->setObjectName("TSPanel");
    panel->setFrameStyle(QFrame::StyledPanel | QFrame::Raised);
    bar_ = new QTabBar(body);
    bar_->setDrawBase(false);
    bar_->setExpanding(false);
    bar_->setUsesScrollButtons(false);
    QObject::connect(bar_, &QTabBar::currentChanged, this, [this](int index) {
        if (index < 0) return;
        userAction([this, index] { tabs_.userSelectTab(index + 1); }, Prop::ListIndex);
    });
    setWidget(body);
}

void TabStripView::mirror(Prop what) {
    ControlView::mirror(what);
    if (detached()) return;
    const QSignalBlocker blocker(bar_);
    if (what == Prop::Items) {
        while (bar_->count() > 0) bar_->removeTab(0);
        for (const std::string& caption : tabs_.tabs()) bar_->addTab(QString::fromStdString(shown(caption)));
    }
    if (what == Prop::Items || what == Prop::ListIndex) bar_->setCurrentIndex(tabs_.selectedTab() - 1);
    if (what == Prop::Geometry || what == Prop::Font || what == Prop::Items) layoutRow();
}

// Every tab must show, as on the classic strip: where the desktop's font is wider than the
// design's, the tabs' font shrinks until the row fits.
void TabStripView::fitTabs() {
    QFont font = widget()->font();
    bar_->setFont(font);
    while (bar_->sizeHint().width() > widget()->width() && font.pointSizeF() > 6) {
        font.setPointSizeF(font.pointSizeF() - 0.5);
        bar_->setFont(font);
    }
}

void TabStripView::layoutRow() {
    fitTabs();
    const int row = bar_->sizeHint().height();
    bar_->setGeometry(0, 0, widget()->width(), row);
    widget()->findChild<QFrame*>("TSPanel")->setGeometry(0, row - 1, widget()->width(), widget()->height() - row + 1);
}

}  // namespace qm::qt
