#pragma once
// The window of one core form: a top-level Qt window whose client area holds a view for
// every control, built from the form's declarations and kept in step with them.
#include <QMainWindow>
#include <functional>
#include <map>
#include <memory>

#include "forms/form.h"
#include "ui/qt/control_view.h"
#include "ui/qt/twips.h"

class QMenu;

namespace qm::qt {

class MenuView;
class QtHost;

class FormWindow : public QMainWindow {
public:
    FormWindow(Form& form, QtHost& host);
    ~FormWindow() override;

    Form& form() const { return form_; }
    const TwipScale& scale() const { return scale_; }

    // The widget the children of `parent` live in (null parent: the client area).
    QWidget* containerOf(const Control* parent) const;
    // The menu the items of `parent` go into (null parent: the menu bar).
    QWidget* menuContainer(const Control* parent);
    QWidget* widgetForMenus() { return this; }
    ControlView* viewOf(const Control* control) const;
    MenuView* menuViewOf(const Control* control) const;
    // The pop-up for a menu with items; null for a plain item.
    QMenu* popupOf(const Menu& menu) const;
    // The pictures of the form's image list, numbered from 1.
    std::vector<std::string> imageListPictures() const;
    void paintLines(const Control* owner, QPainter& painter) const;
    QWidget* clientArea() const { return client_; }

    // Shown, restored and raised from outside (a second start of the program): the real
    // window comes back, and the model is told what the window now is.
    void showFromOutside();
    void bringToFront();

    // Called when the window has been hidden (modal forms wait for it).
    std::function<void()> onHidden;

protected:
    void closeEvent(QCloseEvent* event) override;
    void changeEvent(QEvent* event) override;

private:
    void build();
    void addView(Control& control);
    void removeView(Control& control);
    void mirrorForm(Prop what);
    void applyVisible();
    void applyWindowState();
    void centreOnScreen();
    void userStateChange();

    Form& form_;
    QtHost& host_;
    TwipScale scale_;
    QWidget* client_ = nullptr;
    std::map<const Control*, std::unique_ptr<ControlView>> views_;
    int subscription_ = 0;
    bool mirroring_ = false;
    bool placed_ = false;
};

}  // namespace qm::qt
