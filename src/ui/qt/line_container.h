#pragma once
// A widget that holds controls and draws the Line controls that belong to it, as the
// classic containers draw lines on their own surface, below every child control.
#include <QPainter>
#include <QWidget>

namespace qm {
class Control;
}

namespace qm::qt {

class FormWindow;

// Draws the lines whose container is `owner` (null: the form itself).
void paintLinesOf(FormWindow& window, const Control* owner, QPainter& painter);

template <class Base>
class LineContainer : public Base {
public:
    LineContainer(FormWindow& window, const Control* owner, QWidget* parent)
        : Base(parent), window_(window), owner_(owner) {}

protected:
    void paintEvent(QPaintEvent* event) override {
        Base::paintEvent(event);
        QPainter painter(this);
        paintLinesOf(window_, owner_, painter);
    }

private:
    FormWindow& window_;
    const Control* owner_;
};

}  // namespace qm::qt
