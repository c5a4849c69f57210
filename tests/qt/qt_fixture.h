#pragma once
// A small core form rendered by the real Qt host, and the widgets that stand for it.
#include <QApplication>
#include <QMenu>
#include <QTest>
#include <gtest/gtest.h>

#include "forms/form.h"
#include "ui/qt/control_view.h"
#include "ui/qt/form_window.h"
#include "ui/qt/qt_host.h"

namespace qm::test {

class QtFormTest : public ::testing::Test {
protected:
    QtFormTest() {
        host.endAction = [this] { ++ends; };
        form.move(0, 0, 6000, 4500);
        form.setCaption("Test window");
    }
    // Renders the form as declared so far and shows it.
    void render() {
        host.attach(form);
        form.show();
        QApplication::processEvents();
    }
    qt::FormWindow& window() { return *host.windowOf(form); }
    // The pop-up of `menu` once it has been opened and closed again, as a user would.
    QMenu* opened(const Menu& menu) {
        QMenu* popup = window().popupOf(menu);
        if (!popup) return nullptr;
        popup->popup(QPoint(0, 0));
        QApplication::processEvents();
        popup->hide();
        return popup;
    }
    template <class W>
    W* widgetOf(const Control& control) {
        qt::ControlView* view = window().viewOf(&control);
        return view ? qobject_cast<W*>(view->widget()) : nullptr;
    }
    template <class T>
    T& place(const std::string& name, int left, int top, int width, int height, Control* parent = nullptr,
             int index = -1) {
        T& control = form.add<T>(name, parent, index);
        control.move(left, top, width, height);
        return control;
    }

    Form form{"frmTest"};
    qt::QtHost host;
    int ends = 0;
};

}  // namespace qm::test
