// The Qt lists follow their core lists change by change: the widgets show what the core
// holds, every entry added is one row inserted, and no change of the model counts as a click.
#include <QComboBox>
#include <QListView>
#include <QSignalSpy>

#include "qt_fixture.h"

namespace qm::test {
namespace {

using ListHostTest = QtFormTest;

QStringList rowsOf(const QAbstractItemModel& model) {
    QStringList rows;
    for (int row = 0; row < model.rowCount(); ++row) rows << model.index(row, 0).data().toString();
    return rows;
}

QStringList entriesOf(const ListControl& list) {
    QStringList entries;
    for (const std::string& item : list.items()) entries << QString::fromStdString(item);
    return entries;
}

// Adds, removes, replaces and clears, checking after each step that `same` holds.
void mixedChanges(ListControl& list, const std::function<void(const char* step)>& same) {
    for (int i = 0; i < 12; ++i) list.addItem(std::to_string(i * 2) + " MB");
    same("filled");
    list.setListIndex(7);
    list.removeItem(2);
    same("removed before the selection");
    list.setList(0, "first");
    list.setList(6, "chosen");
    same("replaced");
    list.removeItem(6);
    same("removed the selection");
    list.addItem("tail");
    list.removeItem(list.listCount() - 1);
    list.removeItem(0);
    same("removed at both ends");
    list.setListIndex(3);
    list.clear();
    same("cleared");
    list.addItem("again");
    same("refilled");
}

TEST_F(ListHostTest, AListBoxShowsItsEntriesAndSelectionThroughEveryChange) {
    ListBox& list = place<ListBox>("lstAmount", 120, 120, 2400, 1800);
    list.addItem("before the window");
    int clicks = 0;
    list.onClick = [&] { ++clicks; };
    render();
    auto* widget = widgetOf<QListView>(list);
    ASSERT_NE(widget, nullptr);
    mixedChanges(list, [&](const char* step) {
        EXPECT_EQ(rowsOf(*widget->model()), entriesOf(list)) << step;
        const QModelIndexList chosen = widget->selectionModel()->selectedIndexes();
        EXPECT_EQ(chosen.isEmpty() ? -1 : chosen.front().row(), list.listIndex()) << step;
    });
    EXPECT_EQ(clicks, 2);  // the two selections by program, nothing for the mirror's own moves
}

TEST_F(ListHostTest, AComboBoxShowsItsEntriesAndSelectionThroughEveryChange) {
    ComboBox& combo = place<ComboBox>("cmbRetry", 120, 120, 1500, 315);
    int clicks = 0;
    combo.onClick = [&] { ++clicks; };
    render();
    auto* widget = widgetOf<QComboBox>(combo);
    ASSERT_NE(widget, nullptr);
    mixedChanges(combo, [&](const char* step) {
        EXPECT_EQ(rowsOf(*widget->model()), entriesOf(combo)) << step;
        EXPECT_EQ(widget->currentIndex(), combo.listIndex()) << step;
        EXPECT_EQ(widget->currentText(), QString::fromStdString(combo.text())) << step;
    });
    EXPECT_EQ(clicks, 2);
}

// n entries cost n one-row insertions, not a refill of the whole list per entry.
TEST_F(ListHostTest, EachEntryAddedIsOneRowInserted) {
    ListBox& list = place<ListBox>("lstRam", 120, 120, 2400, 1800);
    ComboBox& combo = place<ComboBox>("cmbStartupRam", 120, 2000, 1500, 315);
    render();
    for (ListControl* target : {static_cast<ListControl*>(&list), static_cast<ListControl*>(&combo)}) {
        QAbstractItemModel* model = nullptr;
        if (auto* box = widgetOf<QComboBox>(*target)) model = box->model();
        if (auto* view = widgetOf<QListView>(*target)) model = view->model();
        ASSERT_NE(model, nullptr);
        QSignalSpy inserted(model, &QAbstractItemModel::rowsInserted);
        QSignalSpy reset(model, &QAbstractItemModel::modelReset);
        constexpr int kEntries = 1000;
        for (int i = 0; i < kEntries; ++i) target->addItem(std::to_string(i) + " MB");
        ASSERT_EQ(inserted.count(), kEntries) << target->name();
        int rows = 0;
        for (const QList<QVariant>& signal : inserted) rows += signal.at(2).toInt() - signal.at(1).toInt() + 1;
        EXPECT_EQ(rows, kEntries) << target->name();
        EXPECT_EQ(reset.count(), 0) << target->name();
        EXPECT_EQ(model->rowCount(), kEntries) << target->name();
    }
}

}  // namespace
}  // namespace qm::test
