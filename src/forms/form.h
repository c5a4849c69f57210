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

namespace qm {

enum class WindowState { Normal = 0, Minimized = 1, Maximized = 2 };

class Form : public Control {
public:
    explicit Form(std::string name);

    // Declares a control; `parent` is the containing frame or menu (null = the form).
    template <class T>
    T& add(const std::string& name, Control* parent = nullptr, int index = -1) {
        auto control = std::make_unique<T>(name, index);
        T& ref = *control;
        adopt(std::move(control), parent, true);
        return ref;
    }

    // The control of that name (first one, for arrays); a missing name is a program fault.
    template <class T>
    T& get(std::string_view name) const {
        return static_cast<T&>(find(name, -1));
    }
    // An element of a control array; error 340 when it does not exist.
    template <class T>
    T& element(std::string_view name, int index) const {
        return static_cast<T&>(find(name, index));
    }
    bool hasElement(std::string_view name, int index) const;
    // Indexes of a control array's elements, ascending.
    std::vector<int> elementIndexes(std::string_view name) const;

    // Loads a new element of a menu array, copying the lowest element's caption and state
    // but not its visibility (error 360 when it is loaded already).
    Menu& loadMenuElement(const std::string& name, int index);
    // Unloads an element loaded at run time (error 340 missing, 362 designed).
    void unloadElement(const std::string& name, int index);

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
    std::function<void()> onUnload;

    // Raises the unload query; true when the window may close.
    bool queryUnload(int mode);

private:
    struct Slot {
        std::unique_ptr<Control> control;
        bool designed;
    };

    Control& find(std::string_view name, int index) const;
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
