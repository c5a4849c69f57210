#include "ui/qt/list_views.h"

#include <QComboBox>
#include <QFrame>
#include <QListWidget>
#include <QSignalBlocker>
#include <QTabBar>

#include "ui/qt/basic_views.h"
#include "ui/qt/form_window.h"

namespace qm::qt {

namespace {

QStringList entries(const std::vector<std::string>& items) {
    QStringList list;
    for (const std::string& item : items) list << QString::fromStdString(item);
    return list;
}

}  // namespace

ListBoxView::ListBoxView(ListBox& list, FormWindow& window)
    : ControlView(list, window), list_(list), widget_(new QListWidget(parentWidget())) {
    widget_->setSelectionMode(QAbstractItemView::SingleSelection);
    // The selection, not the current row: focusing an empty list moves its current row
    // to the top without choosing anything, and that must not count as a click.
    QObject::connect(widget_, &QListWidget::itemSelectionChanged, this, [this] {
        const QList<QListWidgetItem*> chosen = widget_->selectedItems();
        if (!chosen.isEmpty()) userRow(widget_->row(chosen.front()));
    });
    QObject::connect(widget_, &QListWidget::itemDoubleClicked, this, [this] {
        userAction([this] { list_.userDoubleClick(); }, Prop::ListIndex);
    });
    setWidget(widget_);
}

void ListBoxView::userRow(int row) {
    if (row < 0 || row >= list_.listCount()) return;
    userAction([this, row] { list_.userSelect(row); }, Prop::ListIndex);
}

void ListBoxView::mirror(Prop what) {
    ControlView::mirror(what);
    if (detached() || (what != Prop::Items && what != Prop::ListIndex)) return;
    const QSignalBlocker blocker(widget_);
    if (what == Prop::Items) {
        widget_->clear();
        widget_->addItems(entries(list_.items()));
    }
    widget_->setCurrentRow(list_.listIndex());
    if (list_.listIndex() < 0) widget_->clearSelection();
    else widget_->scrollToItem(widget_->item(list_.listIndex()));
}

ComboView::ComboView(ComboBox& combo, FormWindow& window)
    : ControlView(combo, window), combo_(combo), widget_(new QComboBox(parentWidget())) {
    widget_->setEditable(false);
    widget_->setMaxVisibleItems(12);
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
    if (what == Prop::Items) {
        widget_->clear();
        widget_->addItems(entries(combo_.items()));
    }
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
        auto* row = new QListWidgetItem(QString::fromStdString(item.text), widget_);
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
        for (const std::string& caption : tabs_.tabs()) bar_->addTab(QString::fromStdString(caption));
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
