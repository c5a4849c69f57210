// Every caption of every form, measured with the font its widget really has at this
// screen's DPI (the suite runs again with QT_FONT_DPI=144), and the names a screen reader
// reads for the widgets that have no caption of their own.
#include <QAbstractButton>
#include <QAccessible>
#include <QCheckBox>
#include <QGroupBox>
#include <QLabel>
#include <QPushButton>
#include <QRadioButton>
#include <QScreen>
#include <QStyle>
#include <cstdlib>
#include <memory>

#include "app/main_layout.h"
#include "qt_fixture.h"
#include "support/fake_platform.h"
#include "support/program_forms.h"

#include "base/language.h"

namespace qm::test {
namespace {

QString shownText(const std::string& caption) { return qt::withoutAccessKeys(caption); }

// What a captioned widget needs, in pixels, measured from its own font and style.
QSize labelNeeds(const QLabel& label) {
    const QRect room(0, 0, label.width(), 100000);
    return QFontMetrics(label.font()).boundingRect(room, Qt::TextWordWrap, label.text()).size();
}

QSize indicatorButtonNeeds(const QAbstractButton& button, const std::string& caption, bool radio) {
    const QStyle* style = button.style();
    const int indicator = style->pixelMetric(radio ? QStyle::PM_ExclusiveIndicatorWidth : QStyle::PM_IndicatorWidth,
                                             nullptr, &button);
    const int spacing = style->pixelMetric(
        radio ? QStyle::PM_RadioButtonLabelSpacing : QStyle::PM_CheckBoxLabelSpacing, nullptr, &button);
    const QFontMetrics fm(button.font());
    const int text = caption.empty() ? 0 : spacing + fm.horizontalAdvance(shownText(caption));
    return {indicator + text, std::max(indicator, fm.height())};
}

QSize pushButtonNeeds(const QPushButton& button, const std::string& caption) {
    const QStyle* style = button.style();
    const int margin = style->pixelMetric(QStyle::PM_ButtonMargin, nullptr, &button);
    const int frame = style->pixelMetric(QStyle::PM_DefaultFrameWidth, nullptr, &button);
    const QFontMetrics fm(button.font());
    return {fm.horizontalAdvance(shownText(caption)) + 2 * (margin + frame), fm.height() + 2 * frame};
}

QSize groupTitleNeeds(const QGroupBox& group) {
    const QFontMetrics fm(group.font());
    return {fm.horizontalAdvance(group.title()) + 2 * fm.averageCharWidth(), 0};
}

// What the control's caption needs; an empty size for controls without a caption to show.
QSize captionNeeds(const Control& c, QWidget* w) {
    if (c.caption().empty() && c.kind() != ControlKind::CheckBox) return {};
    if (auto* label = qobject_cast<QLabel*>(w); label && c.kind() == ControlKind::Label) return labelNeeds(*label);
    if (auto* box = qobject_cast<QCheckBox*>(w)) return indicatorButtonNeeds(*box, c.shownCaption(), false);
    if (auto* option = qobject_cast<QRadioButton*>(w)) return indicatorButtonNeeds(*option, c.shownCaption(), true);
    if (auto* button = qobject_cast<QPushButton*>(w)) return pushButtonNeeds(*button, c.shownCaption());
    if (auto* group = qobject_cast<QGroupBox*>(w)) return groupTitleNeeds(*group);
    return {};
}

std::string controlName(const Control& c) {
    return c.index() < 0 ? c.name() : c.name() + "(" + std::to_string(c.index()) + ")";
}

class Captions : public QtFormTest {
protected:
    void SetUp() override {
        const char* forced = std::getenv("QT_FONT_DPI");
        const double dpi = QGuiApplication::primaryScreen()->logicalDotsPerInchY();
        ASSERT_DOUBLE_EQ(dpi, forced ? std::atof(forced) : 96.0) << "the screen does not have the DPI asked for";
    }
    // Fails once for every control of the shown form whose caption is cut off where it can
    // be seen; returns how many it measured.
    int expectEveryShownCaptionFits(Form& frm) {
        qt::FormWindow& win = *host.windowOf(frm);
        int measured = 0;
        for (Control* c : frm.controls()) {
            qt::ControlView* view = win.viewOf(c);
            QWidget* w = view && view->widget() && view->widget()->isVisible() ? view->widget() : nullptr;
            const QSize needs = w ? captionNeeds(*c, w) : QSize();
            if (needs.width() <= 0 && needs.height() <= 0) continue;
            ++measured;
            EXPECT_TRUE(needs.width() <= w->width() && needs.height() <= w->height())
                << frm.name() << "." << controlName(*c) << " \"" << c->shownCaption() << "\" needs " << needs.width()
                << "x" << needs.height() << " px, has " << w->width() << "x" << w->height();
        }
        return measured;
    }
    // Every page of the main window in turn, as the user opens them.
    void expectEveryPageFits(Form& frm) {
        TabStrip& tabs = frm.get<TabStrip>("TS");
        for (int tab = 1; tab <= static_cast<int>(tabs.tabs().size()); ++tab) {
            tabs.userSelectTab(tab);
            QApplication::processEvents();
            EXPECT_GT(expectEveryShownCaptionFits(frm), 0) << "page " << tab;
        }
    }
    void expectEveryCaptionFits(Form& frm) {
        frm.show();
        QApplication::processEvents();
        EXPECT_GT(expectEveryShownCaptionFits(frm), 0) << frm.name();
        frm.hide();
    }
    // Every page with both captions of the pause button, the launcher editor, the update window.
    void expectProgramFormsFit() {
        ProgramForms forms(host);
        Form& main = forms.main.form();
        main.show();
        QApplication::processEvents();
        expectEveryPageFits(main);
        main.get<CommandButton>("cmdPause").setCaption(kResumeCaption);
        expectEveryPageFits(main);
        expectEveryCaptionFits(forms.launcher);
        expectEveryCaptionFits(forms.update);
    }
};

TEST_F(Captions, EveryCaptionOfEveryFormFits) { expectProgramFormsFit(); }

// Translations are longer, German most: every one still fits, in every form.
TEST_F(Captions, EveryCaptionFitsInEveryLanguage) {
    for (const BuiltInLanguage& language : builtInLanguages()) {
        SCOPED_TRACE(language.code);
        installLanguage(language.code, {}, [](const std::string& text) { return text; });
        expectProgramFormsFit();
        useCatalogue(Catalogue());
    }
}

TEST_F(Captions, ACaptionTooLongForItsBoxTakesFreeRoomButNotANeighbours) {
    Label& label = place<Label>("lblLong", 240, 240, 900, 255);
    label.setCaption("A caption far longer than the box it was designed in");
    CheckBox& box = place<CheckBox>("chkLong", 240, 900, 900, 300);
    box.setCaption("A check box caption longer than its box");
    place<ComboBox>("cmbBeside", 2400, 870, 900, 315);
    render();
    const int designWidth = window().scale().x(900);
    QWidget* labelWidget = widgetOf<QLabel>(label);
    EXPECT_GT(labelWidget->width(), designWidth);
    EXPECT_LE(labelNeeds(*static_cast<QLabel*>(labelWidget)).height(), labelWidget->height());
    QWidget* boxWidget = widgetOf<QCheckBox>(box);
    EXPECT_EQ(boxWidget->geometry().right() + 1, window().scale().x(2400));  // up to the combo, not over it
    EXPECT_EQ(box.width(), 900);  // the model keeps its design
}

// Nobody sees a caption that changes behind a hidden window or page: it is fitted as it
// is shown, to the caption it has by then.
TEST_F(Captions, ACaptionChangedWhileHiddenIsFittedWhenShown) {
    auto& page = place<Frame>("fraPage", 0, 0, 6000, 4000);
    Label& onPage = place<Label>("lblOnPage", 240, 240, 900, 255, &page);
    Label& onForm = place<Label>("lblOnForm", 240, 2400, 900, 255);
    render();
    const auto fits = [this](Label& label) {
        auto* widget = widgetOf<QLabel>(label);
        const QSize needs = labelNeeds(*widget);
        return widget->isVisible() && needs.width() <= widget->width() && needs.height() <= widget->height();
    };
    page.setVisible(false);
    form.hide();
    onPage.setCaption("A caption far longer than the box it was designed in");
    onForm.setCaption("Another caption far longer than its designed box");
    form.show();
    QApplication::processEvents();
    EXPECT_TRUE(fits(onForm));
    EXPECT_GT(widgetOf<QLabel>(onForm)->width(), window().scale().x(900));
    page.setVisible(true);
    QApplication::processEvents();
    EXPECT_TRUE(fits(onPage));
    onPage.setCaption("Short");  // shown: fitted at once, back to its design box
    EXPECT_EQ(widgetOf<QLabel>(onPage)->width(), window().scale().x(900));
}

// A screen reader asks the accessibility interface; it must not answer a bare "list".
TEST_F(Captions, EveryListComboAndPictureTellsAScreenReaderItsName) {
    declareMainLayout(form);
    render();
    int named = 0;
    for (Control* c : form.controls()) {
        qt::ControlView* view = window().viewOf(c);
        QWidget* w = view ? view->widget() : nullptr;
        const bool needsName = c->kind() == ControlKind::ListBox || c->kind() == ControlKind::ComboBox ||
                               c->kind() == ControlKind::PictureBox || c->kind() == ControlKind::Image;
        if (!w || !needsName) continue;
        QAccessibleInterface* reader = QAccessible::queryAccessibleInterface(w);
        ASSERT_NE(reader, nullptr) << c->name();
        EXPECT_FALSE(reader->text(QAccessible::Name).isEmpty()) << c->name();
        ++named;
    }
    EXPECT_GE(named, 20);
    QWidget* list = window().viewOf(&form.get<ListBox>("lstRam"))->widget();
    EXPECT_EQ(QAccessible::queryAccessibleInterface(list)->text(QAccessible::Name), "Amount of RAM to release");
    // A drop-down's name is its value on Linux: the label it is related to says what it is.
    QWidget* drop = window().viewOf(&form.get<ComboBox>("cmbAutoRelease"))->widget();
    const auto labels = QAccessible::queryAccessibleInterface(drop)->relations(QAccessible::Label);
    ASSERT_FALSE(labels.isEmpty());
    EXPECT_EQ(labels.first().first->text(QAccessible::Name), "Automatically release RAM when it reaches a minimum of");
    QWidget* hide = window().viewOf(&form.get<CommandButton>("cmdHide"))->widget();
    EXPECT_EQ(QAccessible::queryAccessibleInterface(hide)->text(QAccessible::Name), "Hide");
}

}  // namespace
}  // namespace qm::test
