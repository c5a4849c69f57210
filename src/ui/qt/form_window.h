#pragma once
// The window of one core form: a top-level Qt window whose client area holds a view for
// every control, built from the form's declarations and kept in step with them. What it
// does besides drawing and forwarding is the shared FormLink's.
#include <QMainWindow>

#include "forms/form_link.h"
#include "ui/qt/control_view.h"
#include "ui/qt/twips.h"

class QMenu;

namespace qm::qt {

class MenuView;
class QtHost;

class FormWindow : public QMainWindow, public FormMirror<ControlView> {
public:
    FormWindow(Form& form, QtHost& host);
    ~FormWindow() override;

    // The widget the children of `parent` live in (null parent: the client area).
    QWidget* containerOf(const Control* parent) const;
    // The menu the items of `parent` go into (null parent: the menu bar).
    QWidget* menuContainer(const Control* parent);
    QWidget* widgetForMenus() { return this; }
    MenuView* menuViewOf(const Control* control) const;
    // The pop-up for a menu with items; null for a plain item.
    QMenu* popupOf(const Menu& menu) const;
    void paintLines(const Control* owner, QPainter& painter) const;
    QWidget* clientArea() const { return client_; }

    // Pops up the items of `menu` where the host says (the mouse position).
    void popup(Menu& menu);
    void showFromOutside() override;
    void bringToFront() override;

protected:
    void closeEvent(QCloseEvent* event) override;
    void changeEvent(QEvent* event) override;
    void showEvent(QShowEvent* event) override;

private:
    bool windowHidden() const override { return !isVisible(); }
    void addView(Control& control) override;
    void removeView(Control& control) override;
    void mirrorWindow(Prop what) override;
    void applyVisible();
    void applyWindowState();
    void centreOnScreen();

    QtHost& host_;
    QWidget* client_ = nullptr;
    bool placed_ = false;
};

}  // namespace qm::qt
