#pragma once
// What a screen reader reads of a control that has no caption of its own. MSAA clients
// ask a window for its client object (WM_GETOBJECT); the window answers with the system's
// standard object for it, whose own name and role are the core's: a drop-down's window
// text is its selection, and Wine's standard objects read every window as a plain
// "client" named by its text.
#include <windows.h>

#include <functional>
#include <string>

#include "forms/control.h"

namespace qm::win32 {

// The MSAA role of a control kind that is named from elsewhere (0: none is given).
long accessibleRole(ControlKind kind);

// Answers WM_GETOBJECT for one window's client object while it lives. The name is asked
// for each time a client reads it, so a renamed control is read as it is now.
class ScreenReaderName {
public:
    ScreenReaderName(HWND hwnd, long role, std::function<std::string()> name);
    ~ScreenReaderName();
    ScreenReaderName(const ScreenReaderName&) = delete;
    ScreenReaderName& operator=(const ScreenReaderName&) = delete;

    std::string name() const { return name_(); }
    // The client object for WM_GETOBJECT (0: the window's standard answer stands).
    LRESULT clientObject(WPARAM wp) const;

private:
    HWND hwnd_;
    long role_;
    std::function<std::string()> name_;
};

}  // namespace qm::win32
