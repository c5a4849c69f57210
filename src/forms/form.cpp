#include "forms/form.h"

#include <algorithm>
#include <stdexcept>

namespace qm {

Form::Form(std::string name) : Control(ControlKind::Form, std::move(name)) {
    attachTo(this, nullptr);
    setVisible(false);
}

namespace {

// Where a new element of an array goes: after the array's last element with a lower index,
// so the elements stay together and in index order.
template <class Range, class Of>
auto afterLowerElements(Range& range, const std::string& name, int index, Of controlOf) {
    const auto last = std::find_if(range.rbegin(), range.rend(), [&](const auto& entry) {
        const Control& c = controlOf(entry);
        return c.name() == name && c.index() < index;
    });
    return last.base();
}

const Control& itself(const Control* c) { return *c; }

}  // namespace

void Form::adopt(std::unique_ptr<Control> control, Control* parent, bool designed) {
    control->attachTo(this, parent);
    Control& ref = *control;
    slots_.push_back({std::move(control), designed});
    order_.push_back(&ref);
    children_[parent].push_back(&ref);
    byName_[ref.name()].push_back(&ref);
    notifyChild(ref, Prop::ChildAdded);
}

const std::vector<Control*>& Form::named(std::string_view name) const {
    static const std::vector<Control*> none;
    auto it = byName_.find(name);
    return it == byName_.end() ? none : it->second;
}

Control& Form::find(std::string_view name, int index) const {
    const std::vector<Control*>& same = named(name);
    if (same.empty()) throw std::logic_error("no control named " + std::string(name));
    if (index < 0) return *same.front();
    // From the end: the element asked for is mostly the one loaded last.
    const auto it = std::find_if(same.rbegin(), same.rend(), [&](const Control* c) { return c->index() == index; });
    if (it == same.rend()) raiseError(errNoControlArrayElement);
    return **it;
}

void Form::wrongKind(const Control& c, const char* wanted) {
    throw std::logic_error("control " + c.name() + " is a " + kindName(c.kind()) + ", not a " + wanted);
}

bool Form::hasElement(std::string_view name, int index) const {
    const std::vector<Control*>& same = named(name);
    return std::any_of(same.rbegin(), same.rend(), [&](const Control* c) { return c->index() == index; });
}

std::vector<int> Form::elementIndexes(std::string_view name) const {
    std::vector<int> indexes;
    for (const Control* c : named(name)) {
        if (c->index() >= 0) indexes.push_back(c->index());
    }
    std::sort(indexes.begin(), indexes.end());
    return indexes;
}

Menu& Form::loadMenuElement(std::string_view elementName, int index) {
    const std::string name(elementName);
    if (hasElement(name, index)) raiseError(360);
    const Control* lowest = nullptr;  // the element the new one copies
    for (const Control* c : named(name)) {
        if (c->index() >= 0 && (!lowest || c->index() < lowest->index())) lowest = c;
    }
    if (!lowest) raiseError(errNoControlArrayElement);
    const Menu& model = checked<Menu>(const_cast<Control&>(*lowest));
    auto item = std::make_unique<Menu>(name, index);
    item->setCaption(model.caption());
    item->setEnabled(model.enabled());
    item->setVisible(false);
    Menu& ref = *item;
    item->attachTo(this, model.parent());
    const auto slot = afterLowerElements(slots_, name, index, [](const Slot& s) -> const Control& { return *s.control; });
    order_.insert(order_.begin() + (slot - slots_.begin()), &ref);
    slots_.insert(slot, Slot{std::move(item), false});
    for (std::vector<Control*>* group : {&children_[ref.parent()], &byName_[name]}) {
        group->insert(afterLowerElements(*group, name, index, itself), &ref);
    }
    notifyChild(ref, Prop::ChildAdded);
    return ref;
}

void Form::unloadElement(std::string_view elementName, int index) {
    const std::string name(elementName);
    if (!hasElement(name, index)) raiseError(errNoControlArrayElement);
    const Control* element = &find(name, index);
    const auto it = std::find_if(slots_.rbegin(), slots_.rend(), [&](const Slot& slot) {
        return slot.control.get() == element;
    }).base() - 1;
    if (it->designed) raiseError(362);
    std::unique_ptr<Control> gone = std::move(it->control);
    order_.erase(order_.begin() + (it - slots_.begin()));
    slots_.erase(it);
    std::erase(children_[gone->parent()], gone.get());
    std::erase(byName_[name], gone.get());
    notifyChild(*gone, Prop::ChildRemoved);
}

const std::vector<Control*>& Form::childrenOf(const Control* parent) const {
    static const std::vector<Control*> none;
    auto it = children_.find(parent);
    return it == children_.end() ? none : it->second;
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
