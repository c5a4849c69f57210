#pragma once
// The core's window system on native Win32: a window per attached form, message boxes,
// the open dialog, modal forms, the message pump, the tray icon and the program's end.
#include <windows.h>

#include "forms/windowed_host.h"
#include "ui/win32/background_work.h"
#include "ui/win32/form_window.h"
#include "ui/win32/tray_tip_hold.h"

namespace qm::win32 {

// A canvas as an icon: its pixels as the colour bitmap, every one of them opaque.
HICON iconOfCanvas(const Canvas& picture);

// "EXE Files (*.exe)|*.exe" as the dialog wants it: NUL-separated, ended by two NULs.
std::string dialogFilter(const std::string& filter);

// Whether a tray call would change what the shell shows: a modify that repeats the record
// last sent is left out (the tip is refreshed every tick, mostly with the same text).
class TrayRecordMemo {
public:
    bool needed(int message, const NotifyIconData& data);
    // The record the shell shows now, if any.
    const NotifyIconData* shown() const { return shown_ ? &last_ : nullptr; }

private:
    bool shown_ = false;
    NotifyIconData last_;
};

class Win32Host : public WindowedHost<FormWindow> {
public:
    Win32Host();
    ~Win32Host() override;
    HWND hwndOf(const Form& form) const;

    void setBusyPointer(Control& control, bool busy) override;
    // The classic styles and flags are the native ones: MB_ values, OFN_ flags.
    int msgBox(const std::string& prompt, int style, const std::string& title) override;
    std::optional<std::string> showOpenDialog(Form& owner, const std::string& filter, int flags) override;
    // The shell's own call, with the classic record.
    bool notifyIcon(int message, const NotifyIconData& data) override;
    // A balloon from the icon the shell shows now.
    void showTrayMessage(Form& form, const std::string& title, const std::string& text) override;
    // The picture drawn for the small icon's size (the nearest one) becomes the icon.
    void setTrayPictures(Form& form, std::vector<Canvas> pictures) override;
    double twipsPerPixelX() override;
    // A mouse message reached a form: the tray icon's come that way (see TrayTipHold).
    void pointerMoved();

    // The message pump: a modal form's loop (the owner takes no input while the form is
    // up), the messages waiting now, and the program's loop until WM_QUIT.
    void showModal(Form& form, Form& owner) override;
    void doEvents() override;
    void runInBackground(std::function<void()> work, std::function<void()> done) override;
    void waitForEvents() override;
    int run();

private:
    std::unique_ptr<FormWindow> makeWindow(Form& form) override;
    bool sendToShell(int message, const NotifyIconData& data);
    TrayRecordMemo tray_;
    TrayTipHold tipHold_;
    BackgroundWork background_;
    HICON trayPicture_ = nullptr;  // the core's own picture of the icon; null: the classic icon
};

}  // namespace qm::win32
