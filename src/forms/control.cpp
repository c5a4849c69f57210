#include "forms/control.h"

#include <algorithm>

#include "base/app_error.h"
#include "base/convert.h"
#include "forms/form.h"

namespace qm {

namespace {
int g_zCounter = 0;  // raised by every bring-to-front / send-to-back, so the latest wins
}

const char* kindName(ControlKind kind) {
    static constexpr const char* kNames[] = {
        "Form",  "Label",    "CommandButton", "CheckBox", "OptionButton", "ListBox",   "ComboBox",  "Frame",
        "PictureBox", "Image", "TabStrip",    "Timer",    "Menu",         "Line",      "ListView",  "ImageList",
        "StatusBar"};
    const auto i = static_cast<size_t>(kind);
    return i < std::size(kNames) ? kNames[i] : "control";
}

Control::Control(ControlKind kind, std::string name, int index)
    : kind_(kind), name_(std::move(name)), index_(index) {}

void Control::setCaption(const std::string& text) {
    if (caption_ == text) return;
    caption_ = text;
    notify(Prop::Caption);
}

void Control::move(int left, int top, int width, int height) {
    left_ = left, top_ = top, width_ = width, height_ = height;
    notify(Prop::Geometry);
}

void Control::setVisible(bool on) {
    if (visible_ == on) return;
    visible_ = on;
    notify(Prop::Visible);
}

void Control::setEnabled(bool on) {
    if (enabled_ == on) return;
    enabled_ = on;
    notify(Prop::Enabled);
}

void Control::setForeColor(Color c) {
    if (foreColor_ == c) return;
    foreColor_ = c;
    notify(Prop::ForeColor);
}

void Control::setBackColor(Color c) {
    if (backColor_ == c) return;
    backColor_ = c;
    notify(Prop::BackColor);
}

void Control::setToolTip(const std::string& text) {
    if (toolTip_ == text) return;
    toolTip_ = text;
    notify(Prop::ToolTip);
}

void Control::setFont(const std::string& name, double size, bool bold) {
    fontName_ = name, fontSize_ = size, fontBold_ = bold;
    notify(Prop::Font);
}

void Control::bringToFront() {
    zOrder_ = ++g_zCounter + 1000000;
    notify(Prop::ZOrder);
}

void Control::sendToBack() {
    zOrder_ = -(++g_zCounter) - 1000000;
    notify(Prop::ZOrder);
}

int Control::subscribe(Listener listener) {
    listeners_.emplace_back(nextListenerId_, std::move(listener));
    return nextListenerId_++;
}

void Control::unsubscribe(int id) {
    std::erase_if(listeners_, [id](const auto& entry) { return entry.first == id; });
}

void Control::notifyWith(Control& subject, Prop what) {
    // A listener may subscribe others while we walk, so walk a copy.
    const auto current = listeners_;
    for (const auto& entry : current) entry.second(subject, what);
}

void Clickable::userClick() {
    if (enabled()) raiseClick();
}

void Clickable::raiseClick() {
    if (onClick) onClick();
}

void CheckBox::setValue(int value) {
    if (value < 0 || value > 2) raiseError(errInvalidPropertyValue);
    if (value == value_) return;
    value_ = value;
    notify(Prop::Value);
    raiseClick();
}

void CheckBox::userClick() {
    if (enabled()) setValue(value_ == 1 ? 0 : 1);
}

void OptionButton::setValue(bool on) {
    if (on == value_) return;
    value_ = on;
    if (on) clearSiblings();
    notify(Prop::Value);
    if (on && onClick) onClick(index());
}

void OptionButton::userClick() {
    if (enabled()) setValue(true);
}

void OptionButton::clearSiblings() {
    if (!form()) return;
    for (Control* other : form()->controls()) {
        if (other == this || other->kind() != ControlKind::OptionButton || other->parent() != parent()) continue;
        auto* option = static_cast<OptionButton*>(other);
        if (option->value_) {
            option->value_ = false;
            option->notify(Prop::Value);
        }
    }
}

void ListControl::setListIndex(int index) {
    if (index < -1 || index >= listCount()) raiseError(errInvalidPropertyValue);
    if (index == listIndex_) return;
    listIndex_ = index;
    notify(Prop::ListIndex);
    if (onClick) onClick();
}

std::string ListControl::list(int index) const {
    if (index < 0 || index >= listCount()) return {};
    return items_[static_cast<size_t>(index)];
}

std::string ListControl::text() const { return list(listIndex_); }

void ListControl::setList(int index, const std::string& text) {
    if (index < 0 || index >= listCount()) raiseError(381);
    if (items_[static_cast<size_t>(index)] == text) return;
    items_[static_cast<size_t>(index)] = text;
    announce({ListChange::Kind::Replaced, index});
}

void ListControl::addItem(const std::string& text) {
    items_.push_back(text);
    announce({ListChange::Kind::Added, listCount() - 1});
}

void ListControl::removeItem(int index) {
    if (index < 0 || index >= listCount()) raiseError(errInvalidCall);
    items_.erase(items_.begin() + index);
    if (listIndex_ == index) {
        listIndex_ = -1;
    } else if (listIndex_ > index) {
        --listIndex_;
    }
    announce({ListChange::Kind::Removed, index});
}

void ListControl::clear() {
    items_.clear();
    listIndex_ = -1;
    announce({ListChange::Kind::Cleared, -1});
}

void ListControl::announce(ListChange change) {
    lastChange_ = change;
    ++revision_;
    notify(Prop::Items);
}

void ListBox::userDoubleClick() {
    if (enabled() && onDblClick) onDblClick();
}

void Line::setPoints(int x1, int y1, int x2, int y2) {
    x1_ = x1, y1_ = y1, x2_ = x2, y2_ = y2;
    notify(Prop::Geometry);
}

void TabStrip::addTab(const std::string& caption) {
    tabs_.push_back(caption);
    notify(Prop::Items);
}

void TabStrip::userSelectTab(int tab) {
    if (tab < 1 || tab > static_cast<int>(tabs_.size())) raiseError(errInvalidPropertyValue);
    if (tab == selected_) return;
    selected_ = tab;
    notify(Prop::ListIndex);
    if (onClick) onClick();
}

void Timer::setInterval(int ms) {
    if (ms < 0) raiseError(errInvalidPropertyValue);
    if (ms == interval_) return;
    interval_ = ms;
    notify(Prop::Interval);
}

void Timer::fire() {
    if (onTimer) onTimer();
}

void Menu::setChecked(bool on) {
    if (checked_ == on) return;
    checked_ = on;
    notify(Prop::Checked);
}

void ListView::addItem(const std::string& text, int smallIcon) {
    items_.push_back({text, smallIcon});
    notify(Prop::Items);
}

void ListView::clear() {
    items_.clear();
    notify(Prop::Items);
}

double shownNumber(const ListControl& list) {
    const std::string text = list.text();
    return isNumeric(text) ? toNumber(text) : 0;
}

}  // namespace qm
