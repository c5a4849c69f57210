#pragma once
// One view per control: it builds the Qt counterpart, mirrors every property change of the
// model and hands user actions back through the model's own setters.
#include <QObject>
#include <QPointer>
#include <QWidget>
#include <functional>
#include <memory>

#include "forms/caption_room.h"
#include "forms/form.h"
#include "ui/qt/twips.h"

namespace qm::qt {

class FormWindow;

class ControlView : public QObject {
public:
    ControlView(Control& control, FormWindow& window);
    ~ControlView() override;

    Control& control() const { return control_; }
    // The widget that stands for the control (null for timers, menus and lines).
    virtual QWidget* widget() const { return widget_; }
    // Where the control's children go.
    virtual QWidget* container() const { return widget(); }
    // Brings the view up to date with every property; called once after construction.
    void mirrorAll();
    // The control is being unloaded: stop observing it now (it is gone right after) and
    // leave the view to be deleted once the current event is over.
    virtual void detach();
    bool detached() const { return detached_; }
    // A caption that changed while its window was hidden is shown now (see holdsCaption).
    void showHeldCaption();
    // A caption is fitted when its widget is shown (see mirrorGeometry).
    bool eventFilter(QObject* watched, QEvent* event) override;

protected:
    // Mirrors one property; views extend it for their own properties.
    virtual void mirror(Prop what);
    // A user action: exceptions stop here (Qt must not unwind), and afterwards the widget
    // shows what the model made of it.
    void userAction(const std::function<void()>& action, Prop resync);
    void setWidget(QWidget* widget);
    // How the caption may take more room than its design box when the font needs it: on one
    // line (the widget's size hint) or wrapped (its height for a width).
    enum class CaptionFit { None, OneLine, Wrapped };
    void setCaptionFit(CaptionFit fit);
    // The box the widget takes, in twips.
    TwipBox shownBox() const;
    FormWindow& window() const { return window_; }
    const TwipScale& scale() const;
    QWidget* parentWidget() const;

private:
    void mirrorGeometry();
    void mirrorColors();
    void mirrorFont();
    void mirrorZOrder();
    void mirrorAccessibleName();

    Control& control_;
    FormWindow& window_;
    QPointer<QWidget> widget_;
    int subscription_ = 0;
    bool detached_ = false;
    CaptionFit captionFit_ = CaptionFit::None;
    bool fitDue_ = false;
};

// The view for any control kind.
std::unique_ptr<ControlView> makeView(Control& control, FormWindow& window);

// The model's default colours stand for the system colours, which the desktop supplies.
constexpr Color kSystemBack = 0xF0F0F0;
constexpr Color kSystemText = 0x000000;
QColor toQColor(Color c);

// Maps the classic Windows font families to installed families of like width.
void installFontSubstitutes();

// Reports an exception that reached Qt's event loop (it must not unwind there).
void reportStray(const std::string& who, const char* what);

// A caption with its access-key marks removed, as a label shows it ("&&" is one '&').
QString withoutAccessKeys(const std::string& caption);

}  // namespace qm::qt
