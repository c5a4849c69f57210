// The renderer against real widgets: clicks reach the models through their setters, model
// changes reach the widgets, and neither is echoed back.
#include <QCheckBox>
#include <QComboBox>
#include <QGroupBox>
#include <QLabel>
#include <QListView>
#include <QMenu>
#include <QMenuBar>
#include <QPushButton>
#include <QRadioButton>
#include <QTabBar>

#include "forms/picture_box.h"
#include "qt_fixture.h"
#include "ui/qt/list_views.h"
#include "ui/qt/menu_view.h"
#include "ui/qt/picture_view.h"

namespace qm::test {
namespace {

struct RendererTest : QtFormTest {
    // File > Programs (an array starting with `first`), a rule and Exit: the launcher's shape.
    Menu& addFileMenu(const std::string& first) {
        auto& file = form.add<Menu>("mnuFile");
        file.setCaption("&File");
        auto& programs = form.add<Menu>("mnuPrograms", &file);
        programs.setCaption("&Programs");
        form.add<Menu>("mnuP1", &programs, 0).setCaption(first);
        form.add<Menu>("mnuRule", &file).setCaption("-");
        form.add<Menu>("mnuExit", &file).setCaption("E&xit");
        return file;
    }
};

QPoint centreOfRow(QListView* list, int row) { return list->visualRect(list->model()->index(row, 0)).center(); }
QString rowText(QAbstractItemView* list, int row) { return list->model()->index(row, 0).data().toString(); }

TEST_F(RendererTest, ButtonsAndLabelsCountRealClicksAndFollowTheirModels) {
    auto& button = place<CommandButton>("cmdGo", 120, 120, 1500, 375);
    button.setCaption("&Go");
    auto& label = place<Label>("lblLink", 120, 600, 2000, 255);
    label.setCaption("Fish && Chips");
    int buttonClicks = 0, labelClicks = 0;
    button.onClick = [&] { ++buttonClicks; };
    label.onClick = [&] { ++labelClicks; };
    render();

    auto* push = widgetOf<QPushButton>(button);
    auto* text = widgetOf<QLabel>(label);
    ASSERT_TRUE(push && text);
    EXPECT_EQ(push->text(), "&Go");         // the access key stays Qt's mnemonic
    EXPECT_EQ(text->text(), "Fish & Chips");  // a label shows the text without marks
    QTest::mouseClick(push, Qt::LeftButton);
    QTest::mouseClick(text, Qt::LeftButton);
    EXPECT_EQ(buttonClicks, 1);
    EXPECT_EQ(labelClicks, 1);

    button.setEnabled(false);
    QTest::mouseClick(push, Qt::LeftButton);
    EXPECT_EQ(buttonClicks, 1);
    button.setCaption("&Stop");
    label.setVisible(false);
    EXPECT_EQ(push->text(), "&Stop");
    EXPECT_FALSE(push->isEnabled());
    EXPECT_FALSE(text->isVisible());
}

// Behind a window in the tray figures change every tick unseen: its labels and its title
// show the last of them once it is shown, while its menus (the tray's) follow at once.
TEST_F(RendererTest, AHiddenWindowShowsItsLatestCaptionsWhenShownAndItsMenusFollowAtOnce) {
    Menu& file = addFileMenu("First");
    auto& label = place<Label>("lblFree", 120, 120, 2000, 255);
    label.setCaption("10% Available");
    render();
    form.hide();
    QApplication::processEvents();
    for (int percent = 11; percent <= 14; ++percent) label.setCaption(std::to_string(percent) + "% Available");
    form.setCaption("Quillmere - 14%");
    form.get<Menu>("mnuExit").setCaption("&Quit");
    EXPECT_EQ(opened(file)->actions()[2]->text(), "&Quit");
    form.show();
    QApplication::processEvents();
    EXPECT_EQ(widgetOf<QLabel>(label)->text(), "14% Available");
    EXPECT_EQ(window().windowTitle(), "Quillmere - 14%");
    label.setCaption("15% Available");
    form.setCaption("Quillmere - 15%");
    EXPECT_EQ(widgetOf<QLabel>(label)->text(), "15% Available");
    EXPECT_EQ(window().windowTitle(), "Quillmere - 15%");
}

TEST_F(RendererTest, GeometryBecomesPixelsAtTheScreensDpi) {
    auto& button = place<CommandButton>("cmdGo", 1440, 720, 2880, 375);
    auto& page = place<Frame>("fmPage", 300, 300, 4000, 3000);
    auto& inner = place<Label>("lblInner", 150, 150, 1440, 255, &page);
    render();
    const qt::TwipScale& scale = window().scale();
    EXPECT_EQ(widgetOf<QPushButton>(button)->geometry(), qt::toQRect(scale.rect(1440, 720, 2880, 375)));
    EXPECT_EQ(widgetOf<QPushButton>(button)->width(), static_cast<int>(std::lround(2 * scale.dpiX)));
    EXPECT_EQ(widgetOf<QLabel>(inner)->parentWidget(), window().viewOf(&page)->widget());
    EXPECT_EQ(window().clientArea()->size(), QSize(scale.x(6000), scale.y(4500)));
    button.move(0, 0, 1440, 720);
    EXPECT_EQ(widgetOf<QPushButton>(button)->geometry(), qt::toQRect(scale.rect(0, 0, 1440, 720)));
}

TEST_F(RendererTest, CheckBoxValueIsTheModelsAndModelChangesAreNotEchoed) {
    auto& box = place<CheckBox>("chkOn", 120, 120, 2000, 300);
    int clicks = 0;
    box.onClick = [&] { ++clicks; };
    render();
    auto* check = widgetOf<QCheckBox>(box);
    QTest::mouseClick(check, Qt::LeftButton, {}, QPoint(8, check->height() / 2));
    EXPECT_EQ(box.value(), 1);
    EXPECT_EQ(check->checkState(), Qt::Checked);
    EXPECT_EQ(clicks, 1);

    box.setValue(2);  // greyed by the program: one click event, from the model only
    EXPECT_EQ(check->checkState(), Qt::PartiallyChecked);
    EXPECT_EQ(clicks, 2);
    QTest::mouseClick(check, Qt::LeftButton, {}, QPoint(8, check->height() / 2));
    EXPECT_EQ(box.value(), 1);  // the model's own toggle rule, not the widget's tristate cycle
    EXPECT_EQ(check->checkState(), Qt::Checked);
}

TEST_F(RendererTest, OptionButtonsOfOneContainerClearEachOtherThroughTheModel) {
    auto& group = place<Frame>("fmGroup", 120, 120, 3000, 1500);
    group.setCaption("Choose");
    auto& first = place<OptionButton>("optPick", 120, 300, 2000, 285, &group, 0);
    auto& second = place<OptionButton>("optPick", 120, 600, 2000, 285, &group, 1);
    std::vector<int> picked;
    first.onClick = second.onClick = [&](int index) { picked.push_back(index); };
    first.setValue(true);
    render();
    EXPECT_NE(qobject_cast<QGroupBox*>(window().viewOf(&group)->widget()), nullptr);
    auto* a = widgetOf<QRadioButton>(first);
    auto* b = widgetOf<QRadioButton>(second);
    EXPECT_TRUE(a->isChecked());

    QTest::mouseClick(b, Qt::LeftButton, {}, QPoint(8, b->height() / 2));
    EXPECT_TRUE(second.value());
    EXPECT_FALSE(first.value());
    EXPECT_FALSE(a->isChecked());
    EXPECT_TRUE(b->isChecked());
    QTest::mouseClick(b, Qt::LeftButton, {}, QPoint(8, b->height() / 2));  // clicking the chosen one keeps it
    EXPECT_TRUE(b->isChecked());
    EXPECT_EQ(picked, (std::vector<int>{0, 1}));
}

TEST_F(RendererTest, ListBoxSelectsByClickAndMirrorsItemsAndIndex) {
    auto& list = place<ListBox>("lstAmount", 120, 120, 2400, 1800);
    for (const char* entry : {"2 MB", "4 MB", "8 MB"}) list.addItem(entry);
    int clicks = 0, doubles = 0;
    list.onClick = [&] { ++clicks; };
    list.onDblClick = [&] { ++doubles; };
    render();
    auto* widget = widgetOf<QListView>(list);
    ASSERT_EQ(widget->model()->rowCount(), 3);

    QTest::mouseClick(widget->viewport(), Qt::LeftButton, {}, centreOfRow(widget, 2));
    EXPECT_EQ(list.listIndex(), 2);
    EXPECT_EQ(clicks, 1);
    QTest::mouseDClick(widget->viewport(), Qt::LeftButton, {}, centreOfRow(widget, 2));
    EXPECT_EQ(doubles, 1);

    list.setListIndex(0);  // by program: one click, and the widget follows silently
    EXPECT_EQ(widget->currentIndex().row(), 0);
    EXPECT_EQ(clicks, 2);
    list.addItem("16 MB");
    EXPECT_EQ(widget->model()->rowCount(), 4);
    EXPECT_EQ(rowText(widget, 3), "16 MB");
    list.clear();
    EXPECT_EQ(widget->model()->rowCount(), 0);
    EXPECT_EQ(clicks, 2);
}

TEST_F(RendererTest, ComboBoxTakesTheUsersChoiceAndShowsTheProgramsIndex) {
    auto& combo = place<ComboBox>("cmbRetry", 120, 120, 1500, 315);
    for (const char* entry : {"1", "2", "3"}) combo.addItem(entry);
    int clicks = 0;
    combo.onClick = [&] { ++clicks; };
    render();
    auto* widget = widgetOf<QComboBox>(combo);
    EXPECT_FALSE(widget->isEditable());
    EXPECT_EQ(widget->currentIndex(), -1);
    combo.setListIndex(1);
    EXPECT_EQ(widget->currentText(), "2");
    EXPECT_EQ(clicks, 1);
    widget->setFocus();
    QTest::keyClick(widget, Qt::Key_Down);  // the user moves to the next entry
    EXPECT_EQ(combo.listIndex(), 2);
    EXPECT_EQ(clicks, 2);
}

TEST_F(RendererTest, TabStripSelectionRaisesTheModelsClickOnce) {
    auto& tabs = place<TabStrip>("TS", 0, 0, 6000, 3000);
    for (const char* caption : {"One", "Two", "Three"}) tabs.addTab(caption);
    int clicks = 0;
    tabs.onClick = [&] { ++clicks; };
    render();
    auto* view = static_cast<qt::TabStripView*>(window().viewOf(&tabs));
    QTabBar* bar = view->tabBar();
    ASSERT_EQ(bar->count(), 3);
    QTest::mouseClick(bar, Qt::LeftButton, {}, bar->tabRect(2).center());
    EXPECT_EQ(tabs.selectedTab(), 3);
    EXPECT_EQ(clicks, 1);
    EXPECT_LE(bar->sizeHint().width(), view->widget()->width());
}

TEST_F(RendererTest, TimersRunOnQtWhileEnabled) {
    auto& timer = form.add<Timer>("tmrTick");
    int ticks = 0;
    timer.onTimer = [&] { ++ticks; };
    timer.setInterval(20);
    timer.setEnabled(false);
    render();
    QTest::qWait(80);
    EXPECT_EQ(ticks, 0);
    timer.setEnabled(true);
    QTRY_VERIFY_WITH_TIMEOUT(ticks >= 2, 2000);
    timer.setEnabled(false);
    const int stopped = ticks;
    QTest::qWait(80);
    EXPECT_EQ(ticks, stopped);
}

TEST_F(RendererTest, PictureBoxShowsTheCoresCanvas) {
    auto& box = place<PictureBox>("picGraph", 0, 0, 1500, 750);
    box.setScaleMode(ScaleMode::Pixels);
    box.setBackColor(rgb(0, 0, 0));
    box.cls();
    render();
    box.line(0, 10, 100, 10, rgb(0, 255, 0));
    box.line(0, 30, 100, 30, rgb(255, 128, 1));  // red and blue apart: no channel swapped
    QWidget* surface = window().viewOf(&box)->widget();
    const QImage shown = surface->grab().toImage();  // painted straight from the core's pixels
    ASSERT_EQ(shown.size(), QSize(100, 50));
    EXPECT_EQ(shown.pixelColor(50, 10), QColor(0, 255, 0));
    EXPECT_EQ(shown.pixelColor(50, 30), QColor(255, 128, 1));
    EXPECT_EQ(shown.pixelColor(50, 20), QColor(0, 0, 0));
    box.move(0, 0, 3000, 750);  // a larger canvas, elsewhere in memory, is shown just as well
    box.line(150, 40, 200, 40, rgb(0, 0, 255));
    const QImage wider = surface->grab().toImage();
    ASSERT_EQ(wider.size(), QSize(200, 50));
    EXPECT_EQ(wider.pixelColor(175, 40), QColor(0, 0, 255));
    EXPECT_EQ(wider.pixelColor(50, 30), QColor(255, 128, 1));
}

// On a screen of more dots per inch the canvas is stretched, each pixel from its nearest.
TEST(CanvasImage, StretchesEachPixelFromTheNearestAndKeepsItsChannels) {
    Canvas canvas;
    canvas.resize(4, 2, rgb(0, 0, 0));
    canvas.line(1, 1, 3, 1, rgb(255, 128, 1));
    const QImage same = qt::canvasImage(canvas, QSize(4, 2));
    EXPECT_EQ(same.format(), QImage::Format_RGB32);
    EXPECT_EQ(same.pixelColor(2, 1), QColor(255, 128, 1));
    EXPECT_EQ(same.pixelColor(3, 1), QColor(0, 0, 0)) << "the line stops before its end";
    const QImage wide = qt::canvasImage(canvas, QSize(6, 3));
    EXPECT_EQ(wide.pixelColor(0, 2), QColor(0, 0, 0)) << "from (0, 1)";
    EXPECT_EQ(wide.pixelColor(2, 2), QColor(255, 128, 1)) << "from (1, 1)";
    EXPECT_EQ(wide.pixelColor(4, 2), QColor(255, 128, 1)) << "from (2, 1)";
    EXPECT_EQ(wide.pixelColor(5, 2), QColor(0, 0, 0)) << "from (3, 1)";
    EXPECT_EQ(wide.pixelColor(2, 0), QColor(0, 0, 0)) << "from (1, 0)";
    EXPECT_TRUE(qt::canvasImage(Canvas{}, QSize(4, 2)).isNull());
}

// What the surface shows, as painted.
QColor shownAt(QWidget* surface, int x, int y) { return surface->grab().toImage().pixelColor(x, y); }

// A picture on a hidden page is not drawn; its Paint handler draws it as the page shows.
TEST_F(RendererTest, APictureShownAgainShowsWhatItsPaintHandlerDraws) {
    auto& page = place<Frame>("fraPage", 0, 0, 6000, 4000);
    auto& box = place<PictureBox>("picGraph", 0, 0, 1500, 750, &page);
    box.setScaleMode(ScaleMode::Pixels);
    int y = 10;
    box.onPaint = [&] {
        box.cls();
        box.line(0, y, 100, y, rgb(0, 255, 0));
    };
    render();
    QWidget* surface = window().viewOf(&box)->widget();
    QTRY_COMPARE(shownAt(surface, 50, 10), QColor(0, 255, 0));
    page.setVisible(false);
    y = 20;
    box.onPaint();  // a tick while hidden draws nothing
    EXPECT_EQ(box.image().pixel(50, 20), rgb(255, 255, 255));
    page.setVisible(true);
    QTRY_COMPARE(shownAt(surface, 50, 20), QColor(0, 255, 0));
    EXPECT_EQ(shownAt(surface, 50, 10), QColor(255, 255, 255));
}

// Counts the paint events a widget receives.
struct PaintCounter : QObject {
    explicit PaintCounter(QWidget* widget) { widget->installEventFilter(this); }
    bool eventFilter(QObject*, QEvent* event) override {
        paints += event->type() == QEvent::Paint;
        return false;
    }
    int paints = 0;
};

// A gauge redrawn each tick with the same figures must not cost a repaint.
TEST_F(RendererTest, APictureRedrawnWithTheSamePixelsIsNotPaintedAgain) {
    auto& box = place<PictureBox>("picGauge", 0, 0, 1500, 750);
    box.setScaleMode(ScaleMode::Pixels);
    auto redraw = [&](int y) {
        box.cls();
        box.line(0, y, 100, y, rgb(0, 255, 0));
        QTest::qWait(30);
    };
    render();
    QWidget* surface = window().viewOf(&box)->widget();
    redraw(10);
    PaintCounter counter(surface);
    redraw(10);
    redraw(10);
    EXPECT_EQ(counter.paints, 0);
    redraw(20);
    EXPECT_EQ(counter.paints, 1);
    EXPECT_EQ(shownAt(surface, 50, 20), QColor(0, 255, 0));
}

TEST_F(RendererTest, MenusFollowArraysLoadedAndUnloadedAtRunTime) {
    Menu& file = addFileMenu("First");
    Menu& programs = form.get<Menu>("mnuPrograms");
    int exits = 0;
    form.get<Menu>("mnuExit").onClick = [&] { ++exits; };
    render();

    QMenu* fileMenu = opened(file);
    ASSERT_NE(fileMenu, nullptr);
    ASSERT_EQ(fileMenu->actions().size(), 3);
    EXPECT_TRUE(fileMenu->actions()[1]->isSeparator());
    EXPECT_TRUE(fileMenu->actions()[1]->text().isEmpty()) << "a rule is a line only, no \"-\" beside it";
    fileMenu->actions()[2]->trigger();
    EXPECT_EQ(exits, 1);

    Menu& second = form.loadMenuElement("mnuP1", 1);
    second.setCaption("Second");
    second.setVisible(true);
    QMenu* sub = opened(programs);
    ASSERT_EQ(sub->actions().size(), 2);
    EXPECT_EQ(sub->actions()[1]->text(), "Second");
    EXPECT_TRUE(sub->actions()[1]->isVisible());
    form.unloadElement("mnuP1", 1);
    QApplication::processEvents();
    QApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    EXPECT_EQ(sub->actions().size(), 1);
}

// A long program list costs no actions until its pop-up first opens; then every item is
// there in the form's order with the state the program gave it meanwhile, and items
// loaded, changed or unloaded later follow at once.
TEST_F(RendererTest, ALongProgramsMenuGetsItsItemsWhenFirstOpenedInTheirOrder) {
    Menu& file = addFileMenu("Program 0");
    Menu& programs = form.get<Menu>("mnuPrograms");
    render();
    std::vector<int> clicked;
    for (int i = 1; i < 300; ++i) {
        Menu& item = form.loadMenuElement("mnuP1", i);
        item.setCaption("Program " + std::to_string(i));
        item.setVisible(true);
        item.onClick = [&clicked, i] { clicked.push_back(i); };
    }
    form.element<Menu>("mnuP1", 5).setVisible(false);
    form.element<Menu>("mnuP1", 7).setEnabled(false);
    form.element<Menu>("mnuP1", 9).setChecked(true);
    QMenu* list = window().popupOf(programs);
    ASSERT_NE(list, nullptr);
    EXPECT_TRUE(list->actions().empty()) << "no action before the list is first shown";

    ASSERT_EQ(opened(programs)->actions().size(), 300);
    for (int i = 0; i < 300; ++i) EXPECT_EQ(list->actions()[i]->text(), QString("Program %1").arg(i));
    EXPECT_FALSE(list->actions()[5]->isVisible());
    EXPECT_FALSE(list->actions()[7]->isEnabled());
    EXPECT_TRUE(list->actions()[9]->isChecked());
    EXPECT_TRUE(list->actions()[8]->isVisible() && list->actions()[8]->isEnabled());
    list->actions()[150]->trigger();
    EXPECT_EQ(clicked, std::vector<int>{150});

    form.element<Menu>("mnuP1", 3).setCaption("Renamed");
    EXPECT_EQ(list->actions()[3]->text(), "Renamed");
    form.loadMenuElement("mnuP1", 300).setCaption("Program 300");
    ASSERT_EQ(list->actions().size(), 301);
    EXPECT_EQ(list->actions().back()->text(), "Program 300");
    form.unloadElement("mnuP1", 300);
    QApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    EXPECT_EQ(list->actions().size(), 300);

    QMenu* fileMenu = opened(file);
    ASSERT_EQ(fileMenu->actions().size(), 3);
    EXPECT_EQ(fileMenu->actions()[0]->menu(), list);
    EXPECT_TRUE(fileMenu->actions()[1]->isSeparator());
    EXPECT_EQ(fileMenu->actions()[2]->text(), "E&xit");
}

}  // namespace
}  // namespace qm::test
