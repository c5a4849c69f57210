#pragma once
// The core's window system on native Win32: a window per attached form, message boxes,
// the open dialog, modal forms, the message pump, the tray icon and the program's end.
#include <windows.h>

#include <functional>
#include <map>
#include <memory>

#include "forms/form.h"
#include "forms/host.h"

namespace qm::win32 {

class FormWindow;

// "EXE Files (*.exe)|*.exe" as the dialog wants it: NUL-separated, ended by two NULs.
std::string dialogFilter(const std::string& filter);

class Win32Host : public Host {
public:
    Win32Host();
    ~Win32Host() override;

    void attach(Form& form) override;
    void detach(Form& form) override;
    void setBusyPointer(Control& control, bool busy) override;
    int msgBox(const std::string& prompt, int style, const std::string& title) override;
    std::optional<std::string> showOpenDialog(Form& owner, const std::string& filter, int flags) override;
    void showModal(Form& form, Form& owner) override;
    void doEvents() override;
    void setForeground(Form& form) override;
    void popupMenu(Form& form, Menu& menu) override;
    bool notifyIcon(int message, const NotifyIconData& data) override;
    double twipsPerPixelX() override;
    void endProgram() override;

    FormWindow* windowOf(const Form& form) const;
    HWND hwndOf(const Form& form) const;
    // A later start asked for the window: show, restore and raise it.
    void showFromOutside(Form& form);
    // The message loop, until WM_QUIT.
    int run();

    // What ending does (tests keep their process); by default the process ends at once.
    std::function<void()> endAction;

private:
    std::map<const Form*, std::unique_ptr<FormWindow>> windows_;
};

}  // namespace qm::win32
