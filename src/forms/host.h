#pragma once
// What the core asks of the window system. Each desktop implements it; tests use the
// headless host with its virtual clock.
#include <cstdint>
#include <functional>
#include <optional>
#include <string>
#include <vector>

#include "forms/canvas.h"

namespace qm {

class Control;
class Form;
class Menu;

// Message box buttons and icons, and the answers, with their classic values.
enum MsgBoxStyle : int {
    vbOKOnly = 0, vbYesNo = 4,
    vbCritical = 16, vbQuestion = 32, vbExclamation = 48, vbInformation = 64,
};
enum MsgBoxResult : int { vbOK = 1, vbCancel = 2, vbYes = 6, vbNo = 7 };

constexpr int cdlOFNFileMustExist = 4096;

// The record the notification-area calls take (the shell's NOTIFYICONDATA).
struct NotifyIconData {
    uint32_t cbSize = 0;
    Form* window = nullptr;
    uint32_t uID = 0;
    uint32_t uFlags = 0;
    uint32_t uCallbackMessage = 0;
    std::string icon;      // the window's icon resource
    std::string tip;       // at most 63 characters
};
enum NotifyIconMessage : int { NIM_ADD_ = 0, NIM_MODIFY_ = 1, NIM_DELETE_ = 2 };


class Host {
public:
    virtual ~Host() = default;
    // Starts mirroring a form: its windows, controls and timers.
    virtual void attach(Form& form) = 0;
    // Stops mirroring a form and drops its window; the form may be destroyed afterwards.
    virtual void detach(Form& form) = 0;
    // Shows the busy (hourglass) pointer over a control, or its normal pointer again.
    virtual void setBusyPointer(Control& control, bool busy) = 0;
    // A modal message box; returns the button chosen.
    virtual int msgBox(const std::string& prompt, int style, const std::string& title) = 0;
    // The file-open dialog; nullopt when the user cancelled.
    virtual std::optional<std::string> showOpenDialog(Form& owner, const std::string& filter, int flags) = 0;
    // Shows a form modally over `owner`; returns when the form has been hidden.
    virtual void showModal(Form& form, Form& owner) = 0;
    // Lets pending window events (and due timers) run.
    virtual void doEvents() = 0;
    // Runs `work` off the window's thread, then `done` on it among the window's events, so
    // the windows go on answering while the work runs. `work` must touch nothing the
    // windows use. A host without a second thread runs both at once.
    virtual void runInBackground(std::function<void()> work, std::function<void()> done);
    // Waits for the next window event (a background work's end among them) and runs it.
    virtual void waitForEvents() { doEvents(); }
    // Brings the window to the foreground.
    virtual void setForeground(Form& form) = 0;
    // Pops up a menu at the mouse position.
    virtual void popupMenu(Form& form, Menu& menu) = 0;
    // A notification from the form's tray icon (a balloon on Windows); nothing where the
    // desktop shows none.
    virtual void showTrayMessage(Form& form, const std::string& title, const std::string& text) {
        (void)form, (void)title, (void)text;
    }
    // Pictures of the form's tray icon, one per size, each drawn for its size (the host shows
    // the one that fits); none gives the classic icon back.
    virtual void setTrayPictures(Form& form, std::vector<Canvas> pictures) { (void)form, (void)pictures; }
    // The notification-area call; the result is what the shell answered.
    virtual bool notifyIcon(int message, const NotifyIconData& data) = 0;
    // Twips per screen pixel in the horizontal direction.
    virtual double twipsPerPixelX() = 0;
    // Ends the process at once: no further event of any window runs.
    virtual void endProgram() = 0;
    // A later start of the program asked for this form: it is shown, restored and raised.
    virtual void showFromOutside(Form& form);
    // The end of the desktop session asks the form to unload (mode 2). Hosts whose windows
    // hear of it themselves need nothing here.
    virtual void watchSessionEnd(Form& form) { (void)form; }
};

}  // namespace qm
