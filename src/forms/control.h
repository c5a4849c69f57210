#pragma once
// Control models with the classic properties and event rules. A host mirrors them
// through property-change notifications; user actions enter through the same setters.
#include <cstdint>
#include <functional>
#include <string>
#include <type_traits>
#include <vector>

#include "base/catalogue.h"

#include "forms/canvas.h"

namespace qm {

enum class ControlKind {
    Form, Label, CommandButton, CheckBox, OptionButton, ListBox, ComboBox, Frame,
    PictureBox, Image, TabStrip, Timer, Menu, Line, ListView, ImageList, StatusBar
};

// What changed, for the host's mirror.
enum class Prop {
    Caption, Geometry, Visible, Enabled, ForeColor, BackColor, ToolTip, Font,
    Items, ListIndex, Value, Picture, Interval, Checked, ZOrder, WindowState,
    ChildAdded, ChildRemoved
};

class Form;

// The kind's name as a message says it ("ListBox").
const char* kindName(ControlKind kind);

class Control {
public:
    using Listener = std::function<void(Control&, Prop)>;

    Control(ControlKind kind, std::string name, int index = -1);
    virtual ~Control() = default;
    Control(const Control&) = delete;
    Control& operator=(const Control&) = delete;

    ControlKind kind() const { return kind_; }
    const std::string& name() const { return name_; }
    int index() const { return index_; }               // -1 when not in a control array
    Control* parent() const { return parent_; }        // the containing frame or menu; null = form
    Form* form() const { return form_; }

    const std::string& caption() const { return caption_; }
    void setCaption(const std::string& text);
    // The caption and tooltip as the user reads them, in the user's language; the program
    // itself keeps working with the English ones.
    std::string shownCaption() const { return shown(caption_); }
    std::string shownToolTip() const { return shown(toolTip_); }
    int left() const { return left_; }
    int top() const { return top_; }
    int width() const { return width_; }
    int height() const { return height_; }
    void move(int left, int top, int width, int height);   // twips
    bool visible() const { return visible_; }
    void setVisible(bool on);
    bool enabled() const { return enabled_; }
    void setEnabled(bool on);
    Color foreColor() const { return foreColor_; }
    void setForeColor(Color c);
    Color backColor() const { return backColor_; }
    void setBackColor(Color c);
    const std::string& toolTip() const { return toolTip_; }
    void setToolTip(const std::string& text);
    // What a screen reader calls the control when its caption does not say it (see
    // forms/accessible_name.h): a text of its own, or the control whose caption names it.
    const std::string& description() const { return description_; }
    void setDescription(const std::string& text) { description_ = text; }
    const Control* labelledBy() const { return labelledBy_; }
    void setLabelledBy(const Control& label) { labelledBy_ = &label; }
    const std::string& fontName() const { return fontName_; }
    bool fontBold() const { return fontBold_; }
    double fontSize() const { return fontSize_; }
    void setFont(const std::string& name, double size, bool bold);
    int zOrder() const { return zOrder_; }
    void bringToFront();
    void sendToBack();

    // Observers, called after each change with the property that changed.
    int subscribe(Listener listener);
    void unsubscribe(int id);

    // Wiring done by Form::add.
    void attachTo(Form* form, Control* parent) { form_ = form, parent_ = parent; }

protected:
    void notify(Prop what) { notifyWith(*this, what); }
    // Tells this control's observers about `subject` (a form announcing its children).
    void notifyWith(Control& subject, Prop what);

private:
    ControlKind kind_;
    std::string name_;
    int index_;
    Form* form_ = nullptr;
    Control* parent_ = nullptr;
    std::string caption_;
    int left_ = 0, top_ = 0, width_ = 0, height_ = 0;
    bool visible_ = true, enabled_ = true;
    Color foreColor_ = 0x000000, backColor_ = 0xF0F0F0;
    std::string toolTip_;
    std::string description_;
    const Control* labelledBy_ = nullptr;
    std::string fontName_ = "MS Sans Serif";
    double fontSize_ = 8;
    bool fontBold_ = false;
    int zOrder_ = 0;
    std::vector<std::pair<int, Listener>> listeners_;
    int nextListenerId_ = 1;
};

// A control with a Click event.
class Clickable : public Control {
public:
    using Control::Control;
    std::function<void()> onClick;
    // A click by the user; ignored while the control is disabled.
    virtual void userClick();

protected:
    void raiseClick();
};

class Label : public Clickable {
public:
    static constexpr ControlKind kKind = ControlKind::Label;
    explicit Label(std::string name, int index = -1) : Clickable(ControlKind::Label, std::move(name), index) {}
};

class Frame : public Control {
public:
    static constexpr ControlKind kKind = ControlKind::Frame;
    explicit Frame(std::string name, int index = -1) : Control(ControlKind::Frame, std::move(name), index) {}
};

class CommandButton : public Clickable {
public:
    static constexpr ControlKind kKind = ControlKind::CommandButton;
    explicit CommandButton(std::string name, int index = -1)
        : Clickable(ControlKind::CommandButton, std::move(name), index) {}
};

// Value 0 clear, 1 checked, 2 greyed; setting a new value raises Click.
class CheckBox : public Clickable {
public:
    static constexpr ControlKind kKind = ControlKind::CheckBox;
    explicit CheckBox(std::string name, int index = -1) : Clickable(ControlKind::CheckBox, std::move(name), index) {}
    int value() const { return value_; }
    void setValue(int value);   // error 380 outside 0..2
    void userClick() override;  // toggles between clear and checked

private:
    int value_ = 0;
};

// Buttons in one container form a group: selecting one clears the others.
class OptionButton : public Control {
public:
    static constexpr ControlKind kKind = ControlKind::OptionButton;
    explicit OptionButton(std::string name, int index = -1)
        : Control(ControlKind::OptionButton, std::move(name), index) {}
    bool value() const { return value_; }
    void setValue(bool on);     // selecting raises Click (with the array index)
    void userClick();
    std::function<void(int index)> onClick;

private:
    void clearSiblings();
    bool value_ = false;
};

// One change of a list's entries, as its views apply it.
struct ListChange {
    enum class Kind { Added, Removed, Cleared, Replaced };
    Kind kind = Kind::Cleared;
    int index = -1;  // the entry added, removed or replaced; -1 when cleared
    bool operator==(const ListChange&) const = default;
};

// The entries and selection shared by list boxes and drop-down lists. Every change of the
// entries is announced as Prop::Items and counted: `lastChange()` says what the latest one
// was, so a view applies just that (see ListFollower) instead of reading the whole list.
class ListControl : public Control {
public:
    using Control::Control;
    int listCount() const { return static_cast<int>(items_.size()); }
    int listIndex() const { return listIndex_; }
    void setListIndex(int index);              // error 380 outside -1..count-1; Click on change
    void userSelect(int index) { setListIndex(index); }
    std::string list(int index) const;         // "" outside the list
    std::string shownList(int index) const { return shown(list(index)); }
    void setList(int index, const std::string& text);  // error 381 outside the list
    std::string text() const;                  // the selected entry, "" with none
    void addItem(const std::string& text);
    void removeItem(int index);                // error 5 outside the list
    void clear();                              // leaves no selection
    const std::vector<std::string>& items() const { return items_; }
    const ListChange& lastChange() const { return lastChange_; }
    uint64_t revision() const { return revision_; }  // changes of the entries so far
    std::function<void()> onClick;

private:
    void announce(ListChange change);
    std::vector<std::string> items_;
    int listIndex_ = -1;
    ListChange lastChange_;
    uint64_t revision_ = 0;
};

// The number a list's selected entry shows, as conditions compare it (0 when it is not one).
double shownNumber(const ListControl& list);

class ListBox : public ListControl {
public:
    static constexpr ControlKind kKind = ControlKind::ListBox;
    explicit ListBox(std::string name, int index = -1) : ListControl(ControlKind::ListBox, std::move(name), index) {}
    std::function<void()> onDblClick;
    void userDoubleClick();
};

// A drop-down list (the style whose text is always one of its entries).
class ComboBox : public ListControl {
public:
    static constexpr ControlKind kKind = ControlKind::ComboBox;
    explicit ComboBox(std::string name, int index = -1)
        : ListControl(ControlKind::ComboBox, std::move(name), index) {}
};

class Image : public Control {
public:
    static constexpr ControlKind kKind = ControlKind::Image;
    explicit Image(std::string name, int index = -1) : Control(ControlKind::Image, std::move(name), index) {}
    std::string resource;  // name of a picture compiled into the program
};

// A line drawn on its container (twips).
class Line : public Control {
public:
    static constexpr ControlKind kKind = ControlKind::Line;
    explicit Line(std::string name, int index = -1) : Control(ControlKind::Line, std::move(name), index) {}
    int x1() const { return x1_; }
    int y1() const { return y1_; }
    int x2() const { return x2_; }
    int y2() const { return y2_; }
    void setPoints(int x1, int y1, int x2, int y2);

private:
    int x1_ = 0, y1_ = 0, x2_ = 0, y2_ = 0;
};

class TabStrip : public Control {
public:
    static constexpr ControlKind kKind = ControlKind::TabStrip;
    explicit TabStrip(std::string name, int index = -1) : Control(ControlKind::TabStrip, std::move(name), index) {}
    void addTab(const std::string& caption);
    const std::vector<std::string>& tabs() const { return tabs_; }
    int selectedTab() const { return selected_; }   // 1-based, as the tab strip counts
    void userSelectTab(int tab);                    // raises Click when the tab changes
    std::function<void()> onClick;

private:
    std::vector<std::string> tabs_;
    int selected_ = 1;
};

class Timer : public Control {
public:
    static constexpr ControlKind kKind = ControlKind::Timer;
    explicit Timer(std::string name, int index = -1) : Control(ControlKind::Timer, std::move(name), index) {
        setVisible(false);
    }
    bool isEnabled() const { return enabled(); }
    int interval() const { return interval_; }
    void setInterval(int ms);   // restarts the count when it changes
    std::function<void()> onTimer;
    void fire();

private:
    int interval_ = 0;
};

// A menu item; items with a parent form that parent's submenu. Caption "-" is a rule.
class Menu : public Clickable {
public:
    static constexpr ControlKind kKind = ControlKind::Menu;
    explicit Menu(std::string name, int index = -1) : Clickable(ControlKind::Menu, std::move(name), index) {}
    bool checked() const { return checked_; }
    void setChecked(bool on);
    bool isSeparator() const { return caption() == "-"; }

private:
    bool checked_ = false;
};

struct ListViewItem {
    std::string text;
    int smallIcon = 0;  // 1-based picture of the image list; 0 = none
};

class ListView : public Control {
public:
    static constexpr ControlKind kKind = ControlKind::ListView;
    explicit ListView(std::string name, int index = -1) : Control(ControlKind::ListView, std::move(name), index) {}
    void addItem(const std::string& text, int smallIcon = 0);
    void clear();
    const std::vector<ListViewItem>& items() const { return items_; }

private:
    std::vector<ListViewItem> items_;
};

class ImageList : public Control {
public:
    static constexpr ControlKind kKind = ControlKind::ImageList;
    explicit ImageList(std::string name, int index = -1) : Control(ControlKind::ImageList, std::move(name), index) {
        setVisible(false);
    }
    std::vector<std::string> resources;  // pictures 1..n by resource name
};

class StatusBar : public Control {
public:
    static constexpr ControlKind kKind = ControlKind::StatusBar;
    explicit StatusBar(std::string name, int index = -1) : Control(ControlKind::StatusBar, std::move(name), index) {}
    const std::string& simpleText() const { return caption(); }
    void setSimpleText(const std::string& text) { setCaption(text); }
};

// Whether a control of `kind` is a T: the lookups check it, so a name declared with one
// class and asked for as another is a clear error instead of a bad cast.
template <class T>
constexpr bool isKindOf(ControlKind kind) {
    if constexpr (std::is_same_v<T, Control>) {
        return true;
    } else if constexpr (std::is_same_v<T, Clickable>) {
        return kind == ControlKind::Label || kind == ControlKind::CommandButton || kind == ControlKind::CheckBox ||
               kind == ControlKind::Menu;
    } else if constexpr (std::is_same_v<T, ListControl>) {
        return kind == ControlKind::ListBox || kind == ControlKind::ComboBox;
    } else {
        return kind == T::kKind;
    }
}

// T's name, for the message of a failed lookup.
template <class T>
constexpr const char* className() {
    if constexpr (std::is_same_v<T, Control>) return "Control";
    else if constexpr (std::is_same_v<T, Clickable>) return "Clickable";
    else if constexpr (std::is_same_v<T, ListControl>) return "ListControl";
    else return kindName(T::kKind);
}

}  // namespace qm
