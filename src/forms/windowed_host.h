#pragma once
// The part of a desktop host that keeps one window per attached form and hands the calls
// about a form's window to it. `Window` derives from FormLink and also has popup(Menu&).
#include <functional>
#include <map>
#include <memory>

#include "forms/form_link.h"
#include "forms/host.h"

namespace qm {

template <class Window>
class WindowedHost : public Host {
public:
    void attach(Form& form) override {
        if (!windows_.count(&form)) windows_[&form] = makeWindow(form);
    }
    // Called once the form is closed, outside every event of its window.
    void detach(Form& form) override { windows_.erase(&form); }
    Window* windowOf(const Form& form) const {
        auto it = windows_.find(&form);
        return it == windows_.end() ? nullptr : it->second.get();
    }
    void setForeground(Form& form) override {
        if (Window* window = windowOf(form)) window->bringToFront();
    }
    void popupMenu(Form& form, Menu& menu) override {
        if (Window* window = windowOf(form)) window->popup(menu);
    }
    void showFromOutside(Form& form) override {
        if (Window* window = windowOf(form)) window->showFromOutside();
    }
    void endProgram() override {
        if (endAction) endAction();
    }

    // What ending does: the desktop hosts make it end the process at once, tests keep their
    // process. Left empty, endProgram does nothing.
    std::function<void()> endAction;

protected:
    virtual std::unique_ptr<Window> makeWindow(Form& form) = 0;
    void closeWindows() { windows_.clear(); }

private:
    std::map<const Form*, std::unique_ptr<Window>> windows_;
};

}  // namespace qm
