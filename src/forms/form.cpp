#include "forms/form.h"

#include <algorithm>
#include <stdexcept>

namespace qm {

Form::Form(std::string name) : Control(ControlKind::Form, std::move(name)) {
    attachTo(this, nullptr);
    setVisible(false);
}

void Form::adopt(std::unique_ptr<Control> control, Control* parent, bool designed) {
    control->attachTo(this, parent);
    Control& ref = *control;
    slots_.push_back({std::move(control), designed});
    reorder();
    notifyChild(ref, Prop::ChildAdded);
}

void Form::reorder() {
    order_.clear();
    for (const Slot& slot : slots_) order_.push_back(slot.control.get());
}

Control& Form::find(const std::string& name, int index) const {
    bool arrayExists = false;
    for (const Slot& slot : slots_) {
        Control& c = *slot.control;
        if (c.name() != name) continue;
        arrayExists = true;
        if (index < 0 || c.index() == index) return c;
    }
    if (arrayExists) raiseError(errNoControlArrayElement);
    throw std::logic_error("no control named " + name);
}

bool Form::hasElement(const std::string& name, int index) const {
    return std::any_of(slots_.begin(), slots_.end(), [&](const Slot& slot) {
        return slot.control->name() == name && slot.control->index() == index;
    });
}

std::vector<int> Form::elementIndexes(const std::string& name) const {
    std::vector<int> indexes;
    for (const Slot& slot : slots_) {
        if (slot.control->name() == name && slot.control->index() >= 0) indexes.push_back(slot.control->index());
    }
    std::sort(indexes.begin(), indexes.end());
    return indexes;
}

Menu& Form::loadMenuElement(const std::string& name, int index) {
    if (hasElement(name, index)) raiseError(360);
    const std::vector<int> indexes = elementIndexes(name);
    if (indexes.empty()) raiseError(errNoControlArrayElement);
    const Menu& model = element<Menu>(name, indexes.front());
    auto item = std::make_unique<Menu>(name, index);
    item->setCaption(model.caption());
    item->setEnabled(model.enabled());
    item->setVisible(false);
    Menu& ref = *item;
    // Keep the array's elements together, in index order, inside the parent menu.
    const auto after = std::find_if(slots_.rbegin(), slots_.rend(), [&](const Slot& slot) {
        return slot.control->name() == name && slot.control->index() < index;
    });
    item->attachTo(this, model.parent());
    slots_.insert(after.base(), Slot{std::move(item), false});
    reorder();
    notifyChild(ref, Prop::ChildAdded);
    return ref;
}

void Form::unloadElement(const std::string& name, int index) {
    const auto it = std::find_if(slots_.begin(), slots_.end(), [&](const Slot& slot) {
        return slot.control->name() == name && slot.control->index() == index;
    });
    if (it == slots_.end()) raiseError(errNoControlArrayElement);
    if (it->designed) raiseError(362);
    std::unique_ptr<Control> gone = std::move(it->control);
    slots_.erase(it);
    reorder();
    notifyChild(*gone, Prop::ChildRemoved);
}

std::vector<Control*> Form::childrenOf(const Control* parent) const {
    std::vector<Control*> children;
    for (Control* c : order_) {
        if (c->parent() == parent) children.push_back(c);
    }
    return children;
}

void Form::setWindowState(WindowState state) {
    if (state == windowState_) return;
    windowState_ = state;
    notify(Prop::WindowState);
}

bool Form::queryUnload(int mode) {
    int cancel = 0;
    if (onQueryUnload) onQueryUnload(cancel, mode);
    return cancel == 0;
}

}  // namespace qm
