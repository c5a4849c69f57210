#pragma once
// A window: its controls in declaration order (which is also their tab order), its
// control arrays, and the window-level events.
#include <map>
#include <memory>
#include <string>
#include <string_view>
#include <unordered_map>
#include <vector>

#include "base/app_error.h"
#include "forms/control.h"
#include "forms/tray_event.h"

namespace qm {

enum class WindowState { Normal = 0, Minimized = 1, Maximized = 2 };

// A control's name with its class: a layout declares it and the behaviour looks it up
// through the same constant, so a renamed control or a changed class fails to compile.
template <class T>
struct ControlName {
    std::string_view name;
    constexpr operator std::string_view() const { return name; }
};

class Form : public Control {
public:
    static constexpr ControlKind kKind = ControlKind::Form;
    explicit Form(std::string name);

    // Declares a control; `parent` is the containing frame or menu (null = the form).
    template <class T>
    T& add(const std::string& name, Control* parent = nullptr, int index = -1) {
        auto control = std::make_unique<T>(name, index);
        T& ref = *control;
        adopt(std::move(control), parent, true);
        return ref;
    }

    template <class T>
    T& add(ControlName<T> name, Control* parent = nullptr, int index = -1) {
        return add<T>(std::string(name.name), parent, index);
    }

    // The control of that name (first one, for arrays); a missing name, or a control of
    // another class than T, is a program fault (std::logic_error naming both).
    template <class T>
    T& get(std::string_view name) const {
        return checked<T>(find(name, -1));
    }
    template <class T>
    T& get(ControlName<T> name) const {
        return get<T>(name.name);
    }
    // An element of a control array; error 340 when it does not exist.
    template <class T>
    T& element(std::string_view name, int index) const {
        return checked<T>(find(name, index));
    }
    template <class T>
    T& element(ControlName<T> name, int index) const {
        return element<T>(name.name, index);
    }
    bool hasElement(std::string_view name, int index) const;
    // Indexes of a control array's elements, ascending.
    std::vector<int> elementIndexes(std::string_view name) const;

    // Loads a new element of a menu array, copying the lowest element's caption and state
    // but not its visibility (error 360 when it is loaded already).
    Menu& loadMenuElement(std::string_view name, int index);
    // Unloads an element loaded at run time (error 340 missing, 362 designed).
    void unloadElement(std::string_view name, int index);

    const std::vector<Control*>& controls() const { return order_; }
    // The controls directly inside `parent` (null = the form), in declaration order.
    const std::vector<Control*>& childrenOf(const Control* parent) const;

    WindowState windowState() const { return windowState_; }
    void setWindowState(WindowState state);
    void show() { setVisible(true); }
    void hide() { setVisible(false); }
    const std::string& iconResource() const { return iconResource_; }
    void setIconResource(const std::string& name) { iconResource_ = name; }

    std::function<void()> onLoad;
    // cancel is set by the handler to keep the window; mode 0 close box, 1 code, 2 session end, 3 task manager.
    std::function<void(int& cancel, int mode)> onQueryUnload;
    std::function<void(int button, int shift, double x, double y)> onMouseMove;
    // The tray icon this form put in the notification area was clicked.
    std::function<void(TrayEvent event)> onTrayActivated;
    std::function<void()> onUnload;

    // Raises the unload query; true when the window may close.
    bool queryUnload(int mode);

private:
    struct Slot {
        std::unique_ptr<Control> control;
        bool designed;
    };

    Control& find(std::string_view name, int index) const;
    template <class T>
    static T& checked(Control& c) {
        if (!isKindOf<T>(c.kind())) wrongKind(c, className<T>());
        return static_cast<T&>(c);
    }
    [[noreturn]] static void wrongKind(const Control& c, const char* wanted);
    // The controls of that name, an array's elements in index order.
    const std::vector<Control*>& named(std::string_view name) const;
    void adopt(std::unique_ptr<Control> control, Control* parent, bool designed);
    void notifyChild(Control& child, Prop what) { notifyWith(child, what); }

    std::vector<Slot> slots_;
    std::vector<Control*> order_;
    std::map<const Control*, std::vector<Control*>> children_;
    // Hashed by any text, no copy: handlers look controls up by name every tick.
    struct NameHash {
        using is_transparent = void;
        size_t operator()(std::string_view name) const { return std::hash<std::string_view>{}(name); }
    };
    std::unordered_map<std::string, std::vector<Control*>, NameHash, std::equal_to<>> byName_;
    WindowState windowState_ = WindowState::Normal;
    std::string iconResource_ = "quillmere";
};

}  // namespace qm
